#include <gtest/gtest.h>

#include <QAction>
#include <clocale>
#include <fstream>
#include <regex>
#include <sstream>

#include "serial/port_discovery.h"
#include "serial/transaction.h"
#include "tests/e2e/window_rig.h"

namespace {

using Strings = std::vector<std::string>;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string freshPath(const std::string& name) {
    const std::string path = portlinks::workFolder() + "/" + name;
    std::remove(path.c_str());
    return path;
}

Strings split(const std::string& text, const std::string& end) {
    Strings pieces;
    for (std::size_t from = 0, at = 0; (at = text.find(end, from)) != std::string::npos;
         from = at + end.size()) {
        pieces.push_back(text.substr(from, at - from));
    }
    return pieces;
}

const std::regex kTimestamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})");

TEST(DiagnosticTrace, HoldsEachStepOfTheRoadInOrder) {
    struct Case {
        const char* name;
        Strings simArgs;
        std::string control;
        Strings steps;
    };
    const std::string send = R"(COM3 send "R2\r\n")";
    const std::string timeOut = "COM3 time-out of R2 after 200 ms, nothing received";
    const std::string id = R"(@USB\\VID_1A86&PID_7523\\SIM3)";
    const Case cases[] = {
        {"split reply", {"--split", "4"}, "", {send, "COM3 received \"R500;\"", "R2 complete"}},
        {"stale semicolon",
         {"--stale-semicolon", "--no-pacing"},
         "",
         {send, "COM3 dropped \";\" ahead of the reply to R2", "R2 complete"}},
        {"silent for two sends",
         {},
         "silent-for 2",
         {send, timeOut, "resend 1 of 2", timeOut, "resend 2 of 2", "received \"R500;\"",
          "R2 complete"}},
        {"adapter reset and reopening",
         {},
         "silent-until-enable",
         {send, "resend 2 of 2", timeOut, "no reply to R2: closing the port to reset the adapter",
          "adapter reset of COM3", "kelvara-fake-devcon find USB* > ", ": exit 0",
          "disable " + id + ": exit 0", "adapter status of COM3: \"    Device is disabled.\"",
          "enable " + id + ": exit 0", "adapter status of COM3: \"    Driver is running.\"",
          "COM3 open (reopening the port)", send, "COM3 received \"R500;\"", "R2 complete"}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        SimulatedWindow rig(3, tc.simArgs, 200);
        ASSERT_TRUE(rig.ready);
        const std::string path = freshPath("trace.log");
        rig.form->traceTo(path);
        ASSERT_TRUE(tc.control.empty() || simControl(3, tc.control));
        EXPECT_EQ(Rs232cCommand(rig.serial(), "R2"), CommandOutcome::Complete);
        const std::string trace = contents(path);
        std::size_t at = 0;
        for (const auto& step : tc.steps) {
            at = trace.find(step, at);
            ASSERT_NE(at, std::string::npos) << step << " missing in order from\n" << trace;
        }
        for (const auto& line : split(trace, "\n")) {
            EXPECT_TRUE(std::regex_search(line, kTimestamp, std::regex_constants::match_continuous))
                << line;
        }
    }
}

TEST(DiagnosticFiles, OneThatCannotBeOpenedOrWrittenIsReportedOnceAndTheWindowWorksOn) {
    struct Case {
        bool trace;
        std::string path, message;
    };
    const std::string missing = "/nonexistent-kelvara-folder/diag";
    const Case cases[] = {
        {true, missing,
         "Trace file " + missing +
             " cannot be opened: No such file or directory. "
             "The program runs on without a trace."},
        {false, missing,
         "Record file " + missing +
             " cannot be opened: No such file or "
             "directory. The program runs on without a record."},
        {true, "/dev/full",
         "Trace file /dev/full cannot be written: No space left on device. "
         "The trace stops here; the program runs on."},
        {false, "/dev/full",
         "Record file /dev/full cannot be written: No space left on device. "
         "The record stops here; the program runs on."},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.message);
        SimProcess sim;
        ASSERT_TRUE(sim.start({"--port", "5", "--counts", "512,512,512"}));
        WindowRig rig;
        tc.trace ? rig.form->traceTo(tc.path) : rig.form->recordTo(tc.path);
        ASSERT_TRUE(rig.load());
        rig.form->findChild<QAction*>("IntervalStart")->trigger();
        QTest::qWait(400);
        EXPECT_EQ(rig.shownTexts(), Strings{tc.message});
        EXPECT_EQ(rig.text("Text9"), "5.481");
    }
}

TEST(MonitoringRecord, EachTickAppendsTheBoxesItReadEvenUnderAGermanLocale) {
    struct Case {
        const char* control;
        std::size_t ticks;
        bool flagsRead, monitorRead;
    };
    const Case cases[] = {
        {"noise 0", 10, true, true},
        {"silent on", 2, false, false},
        {"out-of-range on", 2, true, false},
    };
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const Strings boxes{"Text9",     "Text10",     "Text11",    "Text12(0)",
                        "Text12(1)", "Text12(2)",  "Text12(3)", "Text12(4)",
                        "Text12(5)", "Text12(6)",  "Text12(7)", "Text12(8)",
                        "Text12(9)", "Text12(10)", "Text13",    "Text14"};
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.control);
        SimulatedWindow rig(6, {"--counts", "512,512,512"}, 200);
        ASSERT_TRUE(rig.ready);
        rig.state().iComRetryCount = 0;
        rig.state().iUsbRetryCount = 0;
        const std::string path = freshPath("record.csv");
        rig.form->recordTo(path);
        ASSERT_TRUE(simControl(6, tc.control));
        std::vector<Strings> shown;
        QObject::connect(rig.form->findChild<QTimer*>("Timer1"), &QTimer::timeout, rig.form.get(),
                         [&] {
                             Strings row;
                             for (const auto& box : boxes) {
                                 row.push_back(rig.text(box.c_str()));
                             }
                             shown.push_back(row);
                         });
        rig.form->findChild<QAction*>("IntervalStart")->trigger();
        ASSERT_TRUE(serveUntil([&] { return shown.size() == tc.ticks; }, 10000));
        rig.form->findChild<QAction*>("IntervalStop")->trigger();
        const Strings lines = split(contents(path), "\r\n");
        ASSERT_EQ(lines.size(), tc.ticks + 1);
        EXPECT_EQ(split(lines[0] + ",", ",").size(), 17u);
        for (std::size_t t = 0; t < tc.ticks; ++t) {
            const Strings fields = split(lines[t + 1] + ",", ",");
            ASSERT_EQ(fields.size(), 17u) << lines[t + 1];
            EXPECT_TRUE(std::regex_match(fields[0], kTimestamp)) << fields[0];
            for (std::size_t b = 0; b < boxes.size(); ++b) {
                const bool read = b < 3 ? tc.monitorRead : tc.flagsRead;
                EXPECT_EQ(fields[b + 1], read ? shown[t][b] : "") << boxes[b];
            }
        }
        if (tc.monitorRead) {
            EXPECT_EQ(shown[0][0], "5.481");
        }
    }
    std::setlocale(LC_ALL, before.c_str());
}

TEST(ChosenPort, IsProbedAloneAndASilentOneIsNotFound) {
    SimProcess other;
    ASSERT_TRUE(other.start({"--port", "2", "--silent-after", "1"}));
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--port", "9"}));
    SimProcess silent;
    ASSERT_TRUE(silent.start({"--port", "8", "--silent"}));
    WindowRig chosen;
    const std::string path = freshPath("trace.log");
    chosen.form->traceTo(path);
    chosen.form->choosePort(9);
    ASSERT_TRUE(chosen.form->Form_Load());
    EXPECT_EQ(chosen.state().i_comPort, 9);
    const std::string trace = contents(path);
    EXPECT_EQ(split(trace, "probe COM").size(), 1u) << trace;
    EXPECT_NE(trace.find("probe COM9 answered \"E"), std::string::npos) << trace;

    WindowRig quiet;
    quiet.form->choosePort(8);
    EXPECT_FALSE(quiet.form->Form_Load());
    EXPECT_EQ(quiet.shownTexts(), Strings{"Device is not found."});
    EXPECT_EQ(quiet.state().i_comPort, 0);
    // COM2 answers one command only: it has not had one yet.
    EXPECT_TRUE(Rs232cProbe(quiet.serial(), 2));
}

} // namespace
