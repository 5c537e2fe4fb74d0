// Shared helpers of the resource tests: the compiled Marlox.res and a builder of small
// hand-made .res files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx/res/ResFile.h"

namespace restest {

std::vector<std::uint8_t> ReadBytes(const std::string& path);

// The .res that the build compiled from Marlox.rc, parsed once.
const afx::res::ResFile& MarloxRes();
const std::vector<std::uint8_t>& MarloxResBytes();

// The bytes of the entry, or a test failure when it is missing.
afx::res::ByteView Resource(std::uint16_t type, std::uint16_t id, std::uint16_t language);

// Little-endian writer for hand-made resource data.
class Writer {
public:
    Writer& U8(std::uint8_t v);
    Writer& U16(std::uint16_t v);
    Writer& U32(std::uint32_t v);
    Writer& Utf16z(const std::u16string& text);
    Writer& Bytes(const std::vector<std::uint8_t>& bytes);
    Writer& Align4();
    const std::vector<std::uint8_t>& Data() const { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
};

// A 32-bit .res: the empty marker record, then one record per Add.
class ResBuilder {
public:
    ResBuilder();
    ResBuilder& Add(std::uint16_t type, std::uint16_t id, std::uint16_t language,
                    const std::vector<std::uint8_t>& data);
    const std::vector<std::uint8_t>& Data() const { return m_out.Data(); }

private:
    Writer m_out;
};

}  // namespace restest
