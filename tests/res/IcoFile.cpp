#include "tests/res/IcoFile.h"

namespace restest {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

std::vector<std::uint8_t> IcoFile(const afx::res::ProgramResources& resources,
                                  std::uint16_t groupId) {
    const std::vector<afx::res::IconResource> images = resources.IconImages(groupId);
    if (images.empty()) return {};

    std::vector<std::uint8_t> ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, static_cast<std::uint16_t>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (const afx::res::IconResource& image : images) {
        const afx::res::IconGroupEntry& e = image.entry;
        ico.push_back(e.width);
        ico.push_back(e.height);
        ico.push_back(e.colourCount);
        ico.push_back(0);
        Put16(ico, e.planes);
        Put16(ico, e.bitCount);
        // The image's real size, not the group's claim, so the offsets always fit the data.
        Put32(ico, static_cast<std::uint32_t>(image.data.size));
        Put32(ico, static_cast<std::uint32_t>(offset));
        offset += image.data.size;
    }
    for (const afx::res::IconResource& image : images)
        ico.insert(ico.end(), image.data.data, image.data.data + image.data.size);
    return ico;
}

}  // namespace restest
