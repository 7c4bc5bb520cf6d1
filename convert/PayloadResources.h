#pragma once
// The converter and its library as the program carries them: resources 101 and 102.

#include <string>

namespace quillane {

// The bytes of payload `id`. Raises AppError when the program carries no such payload.
std::string LoadPayload(int id);

}  // namespace quillane
