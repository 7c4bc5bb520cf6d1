#pragma once
// The light scrambling of the remembered sample list, and the form in which the scrambled
// text is stored as a setting.
//
// Scrambling works on bytes (the UTF-8 bytes of the text), so paths in any script come back
// unchanged. Every byte from 1 to 255 is shifted by the key's letter and wrapped into 1..255,
// so a scrambled text holds no byte 0 but is usually not valid UTF-8; it is therefore stored
// with each byte as one character of the same value (ISO 8859-1 read as Unicode).

#include <functional>
#include <string>

namespace quillane {

// The built-in key: eight lowercase letters.
inline constexpr const char* kSnapshotKey = "vorlekin";

// Each byte c with the key's next letter k: c + k, less 255 when above 255. `yield` runs once
// per byte. A byte 0 (never in a path) comes back as 255 from UnscrambleText.
std::string ScrambleText(const std::string& text, const std::string& key,
                         const std::function<void()>& yield = {});
// Each byte c: c - k, plus 255 when below 1.
std::string UnscrambleText(const std::string& text, const std::string& key,
                           const std::function<void()>& yield = {});

// Scrambled bytes as UTF-8 text fit for the settings store, and back. A stored character above
// 255 (a value edited by hand) comes back as "?".
std::string ScrambledToStored(const std::string& scrambled);
std::string StoredToScrambled(const std::string& stored);

}  // namespace quillane
