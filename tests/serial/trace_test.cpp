#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "operations/monitoring_record.h"
#include "serial/escaped_text.h"
#include "serial/trace_file.h"
#include "serial/traced_message_boxes.h"
#include "serial/transaction.h"
#include "tests/support/fake_serial.h"

// The trace keeps every byte on one readable line; the record quotes a field only when it must.
TEST(DiagnosticText, EscapesTraceBytesAndQuotesRecordFields) {
    EXPECT_EQ(escapedText("E0,1; ~!\"" + std::string(1, '\0') + "2\r\n\t"),
              "E0,1; ~!\"\\x002\\r\\n\\t");
    // A backslash in the data cannot pass for an escape.
    EXPECT_EQ(escapedText("\x1B\x7F\x80\xFF\xC3\xA9\\x41\\"),
              "\\x1B\\x7F\\x80\\xFF\\xC3\\xA9\\\\x41\\\\");
    EXPECT_EQ(csvField("5.481 (2.7)"), "5.481 (2.7)");
    EXPECT_EQ(csvField("1,5 \"x\"\r\n"), "\"1,5 \"\"x\"\"\r\n\"");
}

TEST(TracedTransaction, HoldsEachStepWithItsOutcomeEscaped) {
    const std::pair<Pieces, std::string> cases[] = {
        {{{2, std::string("\0\r\xFF", 3)}, {4, "R20;"}},
         "T COM4 send \"R0\\r\\n\"\n"
         "T COM4 received \"\\x00\\r\\xFFR20;\" (pieces: 2)\n"
         "T COM4 dropped \"\\x00\\r\\xFF\" ahead of the reply to R0\n"
         "T R0 complete\n"},
        {{{2, "R20;"}},
         "T COM4 send \"R0\\r\\n\"\nT COM4 received \"R20;\" (pieces: 1)\nT R0 complete\n"},
        {{},
         "T COM4 send \"R0\\r\\n\"\n"
         "T COM4 time-out of R0 after 3000 ms, nothing received\n"
         "T COM4 resend 1 of 1 \"R0\\r\\n\"\n"
         "T COM4 time-out of R0 after 3000 ms, nothing received\n"
         "T message box \"The abnormality by the noise occurred.\\r\\rPlease reboot.\"\n"
         "T R0 failed\n"}};
    for (const auto& [pieces, expected] : cases) {
        SCOPED_TRACE(expected);
        SerialRig rig;
        rig.m.iComRetryCount = 1;
        rig.m.iUsbRetryCount = 0;
        rig.openPort(4);
        rig.replyInPieces(pieces);
        // The trace goes on where an earlier run's ended.
        const std::string path = rig.workFolder + "/trace.log";
        std::ofstream(path, std::ios::binary) << "earlier run\n";
        TraceFile trace(
            path, [] { return std::string("T"); }, nullptr);
        TracedMessageBoxes boxes(rig.boxes);
        boxes.setTrace(&trace);
        SerialContext c{rig.m,          rig,   rig.clock, rig, boxes, rig, "kelvara-devcon",
                        rig.workFolder, &trace};
        Rs232cCommand(c, "R0");
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        EXPECT_EQ(text.str(), "earlier run\n" + expected);
    }
}
