#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "session/session.h"
#include "tests/support/by_name.h"
#include "tests/support/fake_serial.h"
#include "tests/support/session_access.h"

namespace {

using Strings = std::vector<std::string>;

struct SilentTones : TonePlayer {
    void Beep(uint32_t frequencyHz, uint32_t) override { played.push_back(frequencyHz); }
    std::vector<uint32_t> played;
};

// The window as the session sees it, and a controller on COM3 that answers every command
// 2 ms after it was sent (the calibration it reads at start-up is 0); "during" runs once, 1 ms
// after the command it names went out.
struct SessionRig : SessionWindow {
    SerialRig rig;
    SilentTones tones;
    Session session{
        SessionSeams{rig.boxes, tones, rig, rig, rig, rig, "kelvara-devcon", rig.workFolder},
        *this};
    ByName<BoxName, std::string> texts{{"Text1", "2"}, {"Text3", "50"}, {"Text4", "30"},
                                       {"Text5", "5"}, {"Text6", "1"},  {"Text7", "10"},
                                       {"Text8", "2"}};
    ByName<MenuName, bool> marks;
    bool timer = false;
    int closes = 0, dialogsEnded = 0, quits = 0;
    Strings faults;
    std::map<std::string, std::function<void()>> during;

    SessionRig() {
        rig.present = {3};
        rig.onWrite = [this](const std::string& line) {
            const std::string cmd = line.substr(0, line.size() - 2);
            const std::string reply = cmd == "E"    ? "E0,0,0,0,0,0,0,0,0,0,0,0,0;"
                                      : cmd == "S1" ? "S0512,0512,0512;"
                                                    : cmd.substr(0, 1) + "0;";
            rig.after(2, [this, reply] { rig.rx += reply; });
            if (const auto found = during.find(cmd); found != during.end()) {
                rig.after(1, std::exchange(found->second, [] {}));
            }
        };
        session.choosePort(3);
    }
    ModuleState& m() { return SessionAccess::state(session); }
    // The commands sent after start-up.
    Strings sent() const {
        Strings commands;
        for (std::size_t i = start; i < rig.sent.size(); ++i) {
            commands.push_back(rig.sent[i].substr(0, rig.sent[i].size() - 2));
        }
        return commands;
    }
    void load() {
        ASSERT_TRUE(session.Form_Load());
        start = rig.sent.size();
    }

    std::string text(BoxName box) override { return texts[box]; }
    void setText(BoxName box, const std::string& text) override { texts[box] = text; }
    void showFrame(FrameName) override {}
    bool timerEnabled() override { return timer; }
    void setTimerEnabled(bool enabled) override { timer = enabled; }
    void setChecked(MenuName entry, bool checked) override { marks[entry] = checked; }
    void close() override {
        ++closes;
        session.Form_Unload();
    }
    void endDialogs() override { ++dialogsEnded; }
    void quit() override { ++quits; }
    void logFault(const std::string& text) override { faults.push_back(text); }

    std::size_t start = 0;
};

TEST(Session, EachButtonRunsItsOwnProcedure) {
    struct Case {
        ButtonName button;
        const char* first; // the command it sends first
    };
    const Case cases[] = {{"Command1", "R0"},    {"Command2", "F3.8"}, {"Command3", "W00,20"},
                          {"Command4", "V10"},   {"Command5", "A1"},   {"Command6", "E"},
                          {"Command7", "W12,0"}, {"Command8", "R12"},  {"KV_UP", "V11"},
                          {"KV_DN", "V9"},       {"mA_UP", "I3"},      {"mA_DN", "I1"}};
    ASSERT_EQ(std::size(cases), ButtonName::all().size());
    for (const auto& [button, first] : cases) {
        SCOPED_TRACE(button.name());
        SessionRig s;
        s.load();
        s.session.click(button);
        ASSERT_FALSE(s.sent().empty());
        EXPECT_EQ(s.sent().front(), first);
        EXPECT_TRUE(s.faults.empty());
    }
}

// A click that comes while a procedure waits for its reply runs once it has ended, in order;
// nothing is refused.
TEST(Session, ClicksDuringAProcedureRunAfterItInTheirOrder) {
    SessionRig s;
    s.load();
    s.during["V11"] = [&] {
        s.session.click("KV_UP");
        s.session.click("mA_UP");
        s.session.click("KV_UP");
    };
    s.session.click("KV_UP");
    EXPECT_EQ(s.sent(), (Strings{"V11", "V12", "I3", "V13"}));
    EXPECT_EQ(s.texts["Text7"] + " " + s.texts["Text8"], "13 3");
}

// Expiries that come during a click leave one tick behind it; one that comes during a tick is
// skipped. A menu entry acts at once: "Interval Stop" during the click cancels the waiting tick.
TEST(Session, AtMostOneTickWaitsAndMenuEntriesActAtOnce) {
    const Strings oneTick{"V11", "E", "A1", "S1", "S1", "S1"};
    Strings clickAfterTick = oneTick;
    clickAfterTick.push_back("V12");
    struct Case {
        const char* name;
        std::function<void(SessionRig&)> afterExpiries; // still during the click
        Strings sent;
    };
    const Case cases[] = {
        {"three expiries", [](SessionRig&) {}, oneTick},
        {"then a click", [](SessionRig& s) { s.session.click("KV_UP"); }, clickAfterTick},
        {"then Interval Stop",
         [](SessionRig& s) {
             s.session.choose("IntervalStop");
             EXPECT_FALSE(s.timer);
             EXPECT_TRUE(s.marks["IntervalStop"]);
         },
         {"V11"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SessionRig s;
        s.load();
        s.session.choose("IntervalStart");
        ASSERT_TRUE(s.timer);
        s.during["V11"] = [&] {
            for (int i = 0; i < 3; ++i) {
                s.session.timerExpired();
            }
            c.afterExpiries(s);
        };
        // An expiry during the tick itself is skipped.
        s.during["A1"] = [&] { s.session.timerExpired(); };
        s.session.click("KV_UP");
        EXPECT_EQ(s.sent(), c.sent);
        EXPECT_TRUE(s.rig.boxes.shown.empty());
    }
}

// Closing during a wait drops what waits, ends the open boxes and quits once the procedure has
// returned; "End" beeps first.
TEST(Session, ClosingDropsWhatWaitsAndQuitsWhenIdle) {
    for (const bool byEnd : {false, true}) {
        SCOPED_TRACE(byEnd);
        SessionRig s;
        s.load();
        s.tones.played.clear();
        s.session.choose("IntervalStart");
        s.during["V11"] = [&] {
            s.session.click("KV_UP");
            s.session.timerExpired();
            byEnd ? s.session.choose("End") : s.session.Form_Unload();
            EXPECT_EQ(s.quits, 0);
        };
        s.session.click("KV_UP");
        EXPECT_EQ(s.sent(), Strings{"V11"});
        // The click that waited never ran: the box shows the step that went out.
        EXPECT_EQ(s.texts["Text7"], "11");
        EXPECT_EQ(std::make_tuple(s.dialogsEnded, s.quits, s.closes), std::make_tuple(1, 1, byEnd));
        EXPECT_EQ(s.tones.played.size(), byEnd ? 3u : 0u);
        EXPECT_FALSE(s.timer);
        EXPECT_FALSE(s.rig.portOpen());
        s.session.click("KV_UP");
        s.session.choose("End");
        EXPECT_EQ(s.sent().size(), 1u);
    }
    // Closed while idle: the loop ends at once.
    SessionRig idle;
    idle.load();
    idle.session.Form_Unload();
    EXPECT_EQ(std::make_pair(idle.dialogsEnded, idle.quits), std::make_pair(0, 1));
}

TEST(Session, StartUpWithoutAControllerEndsWithStatusOne) {
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present);
        SessionRig s;
        if (!present) {
            s.rig.present.clear();
        }
        EXPECT_EQ(s.session.Form_Load(), present);
        EXPECT_EQ(s.session.exitStatus(), present ? 0 : 1);
        EXPECT_EQ(s.rig.boxes.shown.size(), present ? 0u : 1u);
        // The link's start-up settings: two resends 3 s apart, one adapter reset settling 3 s.
        EXPECT_EQ(std::tuple(s.m().iComRetryCount, s.m().iComRecoveryTime, s.m().iUsbRetryCount,
                             s.m().iUsbRecoveryTime),
                  std::tuple(2, 3000, 1, 3000));
    }
    // Closed while start-up reads the calibration: the loop ends once the load has returned.
    SessionRig closing;
    closing.during["R12"] = [&] {
        closing.session.Form_Unload();
        EXPECT_EQ(closing.quits, 0);
    };
    EXPECT_FALSE(closing.session.Form_Load());
    EXPECT_EQ(closing.quits, 1);
}

} // namespace
