#pragma once

#include <map>
#include <string>

#include "common/local_timestamp.h"
#include "operations/field_diagnostics.h"
#include "operations/lifecycle.h"
#include "operations/panel.h"
#include "operations/window.h"
#include "serial/clock.h"
#include "serial/module_state.h"
#include "serial/serial_context.h"
#include "serial/serial_link.h"
#include "serial/traced_message_boxes.h"

// After the core's headers: windows.h defines IDOK and IDCANCEL as macros.
#include <windows.h>

#include "platform/win32/win32_counter.h"
#include "platform/win32/win32_device_tree.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/win32_serial_control.h"
#include "platform/win32/win32_tone.h"

// The one window, built from the designer layout. It owns the module state, the serial control
// and Timer1 for the whole run, and runs each control's event procedure.
class Form1Window : public Window {
public:
    explicit Form1Window(HINSTANCE instance);
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;
    ~Form1Window() override;

    // Start-up before the window is shown. False when no controller was found (the program
    // ends without showing the window) or the window was closed meanwhile.
    bool Form_Load();
    // Diagnostics the technician asks for before start-up.
    void traceTo(const std::string& path) { diagnostics_.traceTo(path); }
    void recordTo(const std::string& path) { diagnostics_.recordTo(path); }
    // Start-up probes only this port instead of scanning.
    void choosePort(int16_t port);
    void show(int showCommand);
    // The message loop until the window is gone; the program's exit code.
    int run();

    HWND handle() const { return hwnd_; }
    ModuleState& state() { return m_; }

    std::string text(const std::string& box) override;
    void setText(const std::string& box, const std::string& text) override;
    void showFrame(const std::string& frame) override;
    bool timerEnabled() override;
    void setTimerEnabled(bool enabled) override;
    void setChecked(const std::string& menuEntry, bool checked) override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createMenu();
    void onCommand(int id);
    template <typename Procedure>
    void eventProcedure(const std::wstring& name, Procedure procedure);
    void End_Click();
    void Form_Unload();
    // A close that comes inside a wait: the waits end at once, the boxes that show give way,
    // and the controls stay until the outermost procedure has returned; then the message
    // loop ends.
    void close();
    void quitWhenIdle();
    HWND box(const std::string& name);

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HMENU menu_ = nullptr;
    HWND lastFocus_ = nullptr;
    int depth_ = 0;
    bool closePending_ = false;
    bool timerOn_ = false;

    ModuleState m_;
    Win32MillisecondCounter counter_;
    Clock clock_{counter_};
    Win32EventPump pump_;
    Win32MessageBoxes boxes_;
    TracedMessageBoxes messages_{boxes_};
    Win32TonePlayer tones_;
    // Where the device console's listing "dev.ref" goes.
    std::string workFolder_;
    Win32ProcessRunner console_{workFolder_};
    // The adapter reset's own road where devcon.exe is missing or cannot name the adapter.
    Win32DeviceTree deviceTree_;
    Win32SerialControl MSComm5;
    SerialContext serial_;
    SerialLink link_{serial_};
    Panel panel_{m_, link_, *this, messages_};
    PortChoice portChoice_ = PortChoice::Scan;
    FieldDiagnostics diagnostics_{serial_, messages_, localTimestamp};

    std::map<std::string, HWND> boxHandles_;
};
