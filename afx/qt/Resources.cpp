#include "afx/qt/Resources.h"

#include "afx/res/Language.h"
#include "res/MarloxResources.h"

namespace afx::qt {

const afx::res::ProgramResources& Resources() {
    static const afx::res::ResFile file = [] {
        const auto [bytes, size] = MarloxResources();
        return afx::res::ResFile(bytes, size);
    }();
    static const afx::res::ProgramResources resources(file, afx::res::UserLanguage());
    return resources;
}

std::uint16_t ResourceLanguage() { return Resources().Language(); }

}  // namespace afx::qt
