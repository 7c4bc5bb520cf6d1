#include "app/Form1.h"

namespace quillane {
void Form1::PushButton2_Click() {}
void Form1::PushButton9_Click() {}
}  // namespace quillane
