#include "filelist/Scramble.h"

#include "text/Utf8.h"

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
        text::utf8::Append(stored, static_cast<unsigned char>(ch));
    }
    return stored;
}

std::string StoredToScrambled(const std::string& stored) {
    std::string scrambled;
    scrambled.reserve(stored.size());
    for (std::size_t pos = 0; pos < stored.size();) {
        const text::utf8::CodePoint c = text::utf8::DecodeAt(stored, pos);
        if (!text::utf8::IsWellFormed(stored, pos, c)) {
            scrambled += stored[pos];  // a byte the store kept as it was
        } else {
            scrambled += c.value <= 255 ? static_cast<char>(c.value) : '?';
        }
        pos += c.length;
    }
    return scrambled;
}

}  // namespace quillane
