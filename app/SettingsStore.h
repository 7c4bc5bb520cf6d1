#pragma once
// The per-user settings: named text values of application "Kelvardy", section "Quillane".
// Every value is read where it is needed, with a default, and written when it changes.

#include <string>

namespace quillane {

class SettingsStore {
  public:
    // The stored text, or `defaultValue` when the key is missing (an empty stored text is
    // returned as it is).
    std::string Read(const std::string& key, const std::string& defaultValue) const;
    // Raises AppError 70 when the store cannot be written, 57 when it is damaged.
    void Write(const std::string& key, const std::string& value);
};

// "True" or "False".
std::string BooleanText(bool value);

// The Boolean reading of a stored text: "True"/"False" in any letter case, or a number (zero is
// false). Anything else raises AppError 13 (type mismatch).
bool ToBoolean(const std::string& text);

}  // namespace quillane
