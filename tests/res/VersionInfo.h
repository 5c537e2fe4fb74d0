// The version record (VS_VERSIONINFO): fixed numbers and a tree of keyed blocks and values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx/res/ByteView.h"

namespace afx::res {

struct FixedFileInfo {
    std::uint32_t signature = 0;  // 0xFEEF04BD
    std::uint32_t structVersion = 0;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;
};

struct VersionNode {
    std::string key;
    bool isText = false;              // wType 1
    std::string text;                 // the value of a text node, UTF-8
    std::vector<std::uint8_t> value;  // the value of a binary node
    std::vector<VersionNode> children;

    // The first child with this key, or nullptr.
    const VersionNode* Child(const std::string& childKey) const;
};

struct VersionInfo {
    FixedFileInfo fixed;
    VersionNode root;  // key "VS_VERSION_INFO"
};

// Throws FormatError on malformed or truncated data.
VersionInfo ParseVersionInfo(ByteView data);

}  // namespace afx::res
