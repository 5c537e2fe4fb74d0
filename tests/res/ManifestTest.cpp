// The application manifest: resource 1 of type 24, language-neutral, the committed file byte
// for byte, and the settings the loader reads from it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResTestSupport.h"

namespace {

constexpr std::uint16_t RT_MANIFEST = 24;
constexpr std::uint16_t PROCESS_MANIFEST_ID = 1;

std::string Manifest() {
    afx::res::ByteView data =
        restest::Resource(RT_MANIFEST, PROCESS_MANIFEST_ID, afx::res::LANG_NEUTRAL);
    return std::string(reinterpret_cast<const char*>(data.data), data.size);
}

// The start tag and content of each element <name ...>content</name> (no nesting of the
// same name); a self-closing element has empty content.
struct Element {
    std::string tag;
    std::string content;
};

std::vector<Element> Elements(const std::string& xml, const std::string& name) {
    std::vector<Element> found;
    const std::string open = "<" + name;
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        const char next = at + open.size() < xml.size() ? xml[at + open.size()] : '\0';
        if (next != ' ' && next != '>' && next != '/' && next != '\n') continue;
        const std::size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string::npos) break;
        Element element{xml.substr(at, tagEnd + 1 - at), {}};
        if (xml[tagEnd - 1] != '/') {
            const std::size_t close = xml.find("</" + name + ">", tagEnd);
            if (close == std::string::npos) break;
            element.content = xml.substr(tagEnd + 1, close - tagEnd - 1);
        }
        found.push_back(element);
    }
    return found;
}

bool HasAttribute(const Element& element, const std::string& name, const std::string& value) {
    return element.tag.find(" " + name + "=\"" + value + "\"") != std::string::npos ||
           element.tag.find("\n" + name + "=\"" + value + "\"") != std::string::npos;
}

TEST(Manifest, IsTheCommittedFileAsTheProcessManifest) {
    const std::string manifest = Manifest();
    const std::vector<std::uint8_t> file =
        restest::ReadBytes(std::string(MARLOX_RES_SOURCE_DIR) + "/Marlox.manifest");
    EXPECT_EQ(manifest, std::string(file.begin(), file.end()));
    // UTF-8 without a byte order mark, declared as such.
    EXPECT_EQ(manifest.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u);
    int manifests = 0;
    for (const afx::res::ResourceEntry& entry : restest::MarloxRes().Entries())
        if (entry.type.isOrdinal && entry.type.ordinal == RT_MANIFEST) ++manifests;
    EXPECT_EQ(manifests, 1);
}

TEST(Manifest, AsksForCommonControls6) {
    const std::vector<Element> dependencies = Elements(Manifest(), "dependentAssembly");
    ASSERT_EQ(dependencies.size(), 1u);
    const std::vector<Element> ids = Elements(dependencies[0].content, "assemblyIdentity");
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_TRUE(HasAttribute(ids[0], "name", "Microsoft.Windows.Common-Controls")) << ids[0].tag;
    EXPECT_TRUE(HasAttribute(ids[0], "version", "6.0.0.0")) << ids[0].tag;
    EXPECT_TRUE(HasAttribute(ids[0], "publicKeyToken", "6595b64144ccf1df")) << ids[0].tag;
    EXPECT_TRUE(HasAttribute(ids[0], "type", "win32")) << ids[0].tag;
}

TEST(Manifest, WindowsSettingsInTheirNamespaces) {
    const std::string manifest = Manifest();
    struct Setting {
        const char* element;
        const char* ns;
        const char* value;
    };
    const Setting SETTINGS[] = {
        {"dpiAware", "http://schemas.microsoft.com/SMI/2005/WindowsSettings", "true"},
        {"dpiAwareness", "http://schemas.microsoft.com/SMI/2016/WindowsSettings", "PerMonitorV2"},
        {"activeCodePage", "http://schemas.microsoft.com/SMI/2019/WindowsSettings", "UTF-8"},
    };
    const std::vector<Element> settings = Elements(manifest, "windowsSettings");
    ASSERT_EQ(settings.size(), 1u);
    for (const Setting& s : SETTINGS) {
        const std::vector<Element> found = Elements(settings[0].content, s.element);
        ASSERT_EQ(found.size(), 1u) << s.element;
        EXPECT_TRUE(HasAttribute(found[0], "xmlns", s.ns)) << found[0].tag;
        EXPECT_EQ(found[0].content, s.value) << s.element;
    }
}

TEST(Manifest, SupportsWindows7To11AndRunsAsInvoker) {
    const std::string manifest = Manifest();
    const char* const SYSTEMS[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    const std::vector<Element> supported = Elements(manifest, "supportedOS");
    ASSERT_EQ(supported.size(), std::size(SYSTEMS));
    for (std::size_t i = 0; i < std::size(SYSTEMS); ++i)
        EXPECT_TRUE(HasAttribute(supported[i], "Id", SYSTEMS[i])) << supported[i].tag;
    const std::vector<Element> level = Elements(manifest, "requestedExecutionLevel");
    ASSERT_EQ(level.size(), 1u);
    EXPECT_TRUE(HasAttribute(level[0], "level", "asInvoker")) << level[0].tag;
    EXPECT_TRUE(HasAttribute(level[0], "uiAccess", "false")) << level[0].tag;
}

}  // namespace
