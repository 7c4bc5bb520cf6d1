#include "app/Form1.h"

namespace quillane {
void Form1::PushButton1_Click() {}
void Form1::PushButton4_Click() {}
void Form1::PushButton7_Click() {}
void Form1::SampleSetup() {}
bool Form1::ListView1_OLEDragOver(bool holdsFiles) { return holdsFiles; }
void Form1::ListView1_OLEDragDrop(const std::vector<std::string>&) {}
}  // namespace quillane
