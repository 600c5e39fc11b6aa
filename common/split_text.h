#pragma once

#include <string>
#include <vector>

// The pieces of text between the separators; as many as there are separators, plus one.
std::vector<std::string> splitAt(const std::string& text, char separator);
