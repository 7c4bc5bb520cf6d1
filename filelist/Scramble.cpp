#include "filelist/Scramble.h"

#include "filelist/NameCharacters.h"

namespace quillane {

namespace {

template <class Shift>
std::string ShiftBytes(const std::string& text, const std::string& key,
                       const std::function<void()>& yield, Shift shift) {
    std::string out;
    out.reserve(text.size());
    std::size_t j = 0;
    for (const char ch : text) {
        if (yield) {
            yield();
        }
        const int c = static_cast<unsigned char>(ch);
        const int k = key.empty() ? 0 : static_cast<unsigned char>(key[j]);
        if (!key.empty()) {
            j = (j + 1) % key.size();
        }
        out += static_cast<char>(static_cast<unsigned char>(shift(c, k)));
    }
    return out;
}

}  // namespace

std::string ScrambleText(const std::string& text, const std::string& key,
                         const std::function<void()>& yield) {
    return ShiftBytes(text, key, yield, [](int c, int k) {
        int v = c + k;
        if (v > 255) {
            v -= 255;
        }
        return v;
    });
}

std::string UnscrambleText(const std::string& text, const std::string& key,
                           const std::function<void()>& yield) {
    return ShiftBytes(text, key, yield, [](int c, int k) {
        int v = c - k;
        if (v < 1) {
            v += 255;
        }
        return v;
    });
}

std::string ScrambledToStored(const std::string& scrambled) {
    std::string stored;
    stored.reserve(scrambled.size() * 2);
    for (const char ch : scrambled) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            stored += ch;
        } else {
            stored += static_cast<char>(0xC0 | (b >> 6));
            stored += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return stored;
}

std::string StoredToScrambled(const std::string& stored) {
    std::string scrambled;
    scrambled.reserve(stored.size());
    for (std::size_t pos = 0; pos < stored.size();) {
        const NameCharacter c = ReadCharacter(stored, pos);
        pos += c.length;
        scrambled += c.codePoint <= 255 ? static_cast<char>(c.codePoint) : '?';
    }
    return scrambled;
}

}  // namespace quillane
