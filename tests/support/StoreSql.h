#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::test {

// Runs one statement on a store file through a connection of its own, as another program would,
// and gives the first column of every row as bytes; {"<error N>"} when it fails.
std::vector<std::string> sqlRows(const std::filesystem::path& file, const std::string& sql);

// The stored text of the value `name` (the data without its closing NUL), or "<absent>".
std::string storedText(const std::filesystem::path& file, const std::string& name);

// Replaces the stored text of the value `name` (which must be there already) with `text`.
void setStoredText(const std::filesystem::path& file, const std::string& name,
                   const std::string& text);

}  // namespace velmor::test
