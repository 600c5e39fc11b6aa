#pragma once

#include <map>
#include <string>

#include "session/session.h"

// After the core's headers: windows.h defines IDOK and IDCANCEL as macros.
#include <windows.h>

#include "app/win32/scrolled_client.h"
#include "platform/win32/win32_counter.h"
#include "platform/win32/win32_device_tree.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/win32_serial_control.h"
#include "platform/win32/win32_tone.h"

// The one window, built from the designer layout: its controls over the session, to which it
// forwards every event by control name. It owns the serial control, the event pump and
// Timer1 for the whole run.
class Form1Window : public SessionWindow {
public:
    explicit Form1Window(HINSTANCE instance);
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;
    ~Form1Window() override;

    Session& session() { return session_; }
    // After start-up: the message boxes belong to the window from now on.
    void show(int showCommand);
    // The message loop until the window is gone; the program's exit code.
    int run();

    HWND handle() const { return hwnd_; }

    std::string text(BoxName box) override;
    void setText(BoxName box, const std::string& text) override;
    void showFrame(FrameName frame) override;
    bool timerEnabled() override { return timerOn_; }
    void setTimerEnabled(bool enabled) override;
    void setChecked(MenuName menuEntry, bool checked) override;
    // The controls stay until the outermost procedure has returned; then the message loop
    // ends.
    void close() override { session_.Form_Unload(); }
    void endDialogs() override;
    void quit() override { PostQuitMessage(0); }
    void logFault(const std::string& text) override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createMenu();
    void onCommand(int id);
    void setDpi(UINT dpi);
    void openInsideWorkArea();

    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    ScrolledClient client_;
    HFONT font_ = nullptr;
    HMENU menu_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool timerOn_ = false;

    Win32MillisecondCounter counter_;
    Win32EventPump pump_;
    Win32MessageBoxes boxes_;
    Win32TonePlayer tones_;
    // Where the device console's listing "dev.ref" goes.
    std::string workFolder_;
    Win32ProcessRunner console_{workFolder_};
    // The adapter reset's own road where devcon.exe is missing or cannot name the adapter.
    Win32DeviceTree deviceTree_;
    Win32SerialControl MSComm5;
    Session session_;

    std::map<BoxName, HWND> boxHandles_;
};
