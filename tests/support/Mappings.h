#pragma once
// What the kernel says of this process's memory: the flags of the mapping that holds an
// address, and whether huge pages are given on request here.

#include <string>

namespace quillane::test {

// The VmFlags line of the mapping of this process that holds `address`, empty when none does.
std::string FlagsOfMappingAt(const void* address);

// True when the system gives huge pages to memory that asks for them.
bool HugePagesOnRequest();

}  // namespace quillane::test
