#include "ResTestSupport.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace restest {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::uint8_t>& MarloxResBytes() {
    static const std::vector<std::uint8_t> bytes = ReadBytes(MARLOX_RES_FILE);
    return bytes;
}

const afx::res::ResFile& MarloxRes() {
    static const afx::res::ResFile file(MarloxResBytes().data(), MarloxResBytes().size());
    return file;
}

afx::res::ByteView Resource(std::uint16_t type, std::uint16_t id, std::uint16_t language) {
    const afx::res::ResourceEntry* entry = MarloxRes().FindExact(type, id, language);
    if (entry == nullptr) {
        ADD_FAILURE() << "no resource of type " << type << ", id " << id << ", language "
                      << language;
        return {};
    }
    return entry->data;
}

Writer& Writer::U8(std::uint8_t v) {
    m_data.push_back(v);
    return *this;
}

Writer& Writer::U16(std::uint16_t v) {
    return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8));
}

Writer& Writer::U32(std::uint32_t v) {
    return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
}

Writer& Writer::Utf16z(const std::u16string& text) {
    for (char16_t c : text)
        U16(c);
    return U16(0);
}

Writer& Writer::Bytes(const std::vector<std::uint8_t>& bytes) {
    m_data.insert(m_data.end(), bytes.begin(), bytes.end());
    return *this;
}

Writer& Writer::Align4() {
    while (m_data.size() % 4 != 0)
        m_data.push_back(0);
    return *this;
}

ResBuilder::ResBuilder() {
    m_out.U32(0).U32(32).U16(0xFFFF).U16(0).U16(0xFFFF).U16(0).U32(0).U16(0).U16(0).U32(0).U32(0);
}

ResBuilder& ResBuilder::Add(std::uint16_t type, std::uint16_t id, std::uint16_t language,
                            const std::vector<std::uint8_t>& data) {
    m_out.U32(static_cast<std::uint32_t>(data.size())).U32(32);
    m_out.U16(0xFFFF).U16(type).U16(0xFFFF).U16(id);
    m_out.U32(0).U16(0x1030).U16(language).U32(0).U32(0);
    m_out.Bytes(data).Align4();
    return *this;
}

}  // namespace restest
