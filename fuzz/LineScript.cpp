#include "fuzz/LineScript.h"

namespace fuzz {

std::deque<std::vector<fake::Step>> ParseScript(const std::uint8_t* data, std::size_t size) {
    std::deque<std::vector<fake::Step>> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != ESCAPE || i + 1 == size) {
            parts.back().push_back({sys::ReadStatus::Byte, data[i]});
            continue;
        }
        const std::uint8_t code = data[++i];
        if (code == ESC_EMPTY)
            parts.back().push_back(fake::Empty());
        else if (code == ESC_FAIL)
            parts.back().push_back(fake::Fail());
        else if (code == ESC_END_OF_PART)
            parts.emplace_back();
        else
            parts.back().push_back({sys::ReadStatus::Byte, code});
    }
    return parts;
}

}  // namespace fuzz
