// The clock's installation folder inside a test's device root, and its settings file.
#pragma once

#include <optional>
#include <string>

namespace tickvane::test {

// Makes "<root>/Program Files/Tickvane/" with a zubo.exe the service could start.
void install_clock_tree();
std::string settings_path();
void write_settings(const std::string& bytes);
// The file's bytes; empty when it does not exist.
std::optional<std::string> read_settings();

}  // namespace tickvane::test
