#include "app/Form1.h"

namespace quillane {
void Form1::PushButton6_Click() {}
void Form1::ListView1_KeyDown(int, int) {}
void Form1::ListView1_DblClick() {}
void Form1::ListView1_ItemClick() {}
void Form1::ListView1_MouseDown() {}
void Form1::ListView1_MouseMove(int, int, int) {}
void Form1::ListView1_MouseUp() {}
}  // namespace quillane
