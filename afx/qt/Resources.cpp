#include "afx/qt/Resources.h"

#include <stdexcept>
#include <utility>

#include "afx/res/Language.h"

namespace afx::qt {

namespace {

std::pair<const unsigned char*, std::size_t>& ProgramBytes() {
    static std::pair<const unsigned char*, std::size_t> bytes{nullptr, 0};
    return bytes;
}

}  // namespace

void UseProgramResources(const unsigned char* bytes, std::size_t size) {
    ProgramBytes() = {bytes, size};
}

const afx::res::ProgramResources& Resources() {
    static const afx::res::ResFile file = [] {
        const auto [bytes, size] = ProgramBytes();
        if (bytes == nullptr) throw std::logic_error("the program has handed over no resources");
        return afx::res::ResFile(bytes, size);
    }();
    static const afx::res::ProgramResources resources(file, afx::res::UserLanguage());
    return resources;
}

std::uint16_t ResourceLanguage() { return Resources().Language(); }

}  // namespace afx::qt
