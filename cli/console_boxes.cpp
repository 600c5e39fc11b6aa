#include "cli/console_boxes.h"

int ConsoleBoxes::messageBox(const std::string& text, int, const std::string&) {
    std::string line;
    for (const char ch : text) {
        if (ch != '\r') {
            line += ch;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    err_ << "kelvara-cli: " << line << "\n";
    return mb::kIdOk;
}

std::string ConsoleBoxes::inputBox(const std::string& prompt, const std::string&) {
    const auto answer = askPassword_(prompt);
    terminalAnswered_ = answer.has_value();
    return answer.value_or("");
}
