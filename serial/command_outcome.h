#pragma once

// How one call of Rs232cCommand ended; sRecvBuf and iUsbErr keep their own meaning.
enum class CommandOutcome {
    Complete, // a reply holding ";" and the command's first character is in sRecvBuf
    Refused,  // another transaction was open: nothing was sent
    Failed,   // gave up, the reopening failed, or the error path ran
    Closing,  // the window is being unloaded: the transaction stopped at once
};
