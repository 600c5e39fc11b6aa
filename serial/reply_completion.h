#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Where the reply to cmd begins in the text received since the send, once it is complete:
// at the last occurrence of the command's first character before the first ";" that follows
// such an occurrence. Text before it (a stray ";", the tail of an earlier reply) is not part
// of the reply. The empty command is answered by the first ";" and begins at 0. Nothing
// while the reply is incomplete.
std::optional<std::size_t> completedReplyStart(const std::string& received, const std::string& cmd);
