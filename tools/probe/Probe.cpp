#include "tools/probe/Probe.h"

#include <cstdio>

#include "link/SerialLink.h"
#include "ports/PortPath.h"
#include "tools/probe/Json.h"

namespace probe {
namespace {

constexpr char NO_RESPOND[] = "No respond";

class ResultCollector final : public TestObserver {
public:
    explicit ResultCollector(ProbeResults& results) : m_results(results) {}

    void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) override {
        switch (inquiry) {
        case Inquiry::EngineCode: m_results.engineCode = text; break;
        case Inquiry::Version: m_results.version = text; break;
        case Inquiry::LegacyEngineCode: m_results.legacyEngineCode = text; break;
        case Inquiry::LegacyVersion: m_results.legacyVersion = text; break;
        case Inquiry::Protection: break;
        }
    }
    void OnProtectionResult(ProtectionResult result) override { m_results.protection = result; }
    void OnRefresh() override {}

private:
    ProbeResults& m_results;
};

// Controller texts are untrusted bytes: never send control characters to a terminal.
std::string Printable(const std::string& bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        } else {
            text += c;
        }
    }
    return text;
}

std::string TextOutcome(const std::optional<std::string>& text) {
    return text ? Printable(*text) : NO_RESPOND;
}

std::string ProtectionText(ProtectionResult result) {
    switch (result) {
    case ProtectionResult::None: return "None";
    case ProtectionResult::Protected: return "Protected";
    case ProtectionResult::NoResponse: break;
    }
    return NO_RESPOND;
}

std::optional<std::string> ProtectionJson(ProtectionResult result) {
    switch (result) {
    case ProtectionResult::None: return "none";
    case ProtectionResult::Protected: return "protected";
    case ProtectionResult::NoResponse: break;
    }
    return std::nullopt;
}

}  // namespace

std::string PathToOpen(const std::string& port, bool windowsNames) {
    if (windowsNames && port.rfind("\\\\", 0) != 0) return DevicePathOf(port);
    return port;
}

ProbeResults RunProbeTest(CSerialLink& link) {
    ProbeResults results;
    ResultCollector collector(results);
    RunConnectionTest(link, collector);
    return results;
}

std::string FormatText(const std::string& port, const ProbeResults& results) {
    return "Port: " + Printable(port) + "\n" + "Engine code: " + TextOutcome(results.engineCode) +
           "\n" + "Version: " + TextOutcome(results.version) + "\n" +
           "Protection: " + ProtectionText(results.protection) + "\n" +
           "Legacy engine code: " + TextOutcome(results.legacyEngineCode) + "\n" +
           "Legacy version: " + TextOutcome(results.legacyVersion) + "\n";
}

std::string FormatJson(const std::string& port, const ProbeResults& results) {
    return JsonObject()
               .String("port", port)
               .StringOrNull("engine_code", results.engineCode)
               .StringOrNull("version", results.version)
               .StringOrNull("protection", ProtectionJson(results.protection))
               .StringOrNull("legacy_engine_code", results.legacyEngineCode)
               .StringOrNull("legacy_version", results.legacyVersion)
               .Text() +
           "\n";
}

int Probe(CSerialLink& link, const std::string& port, bool json, std::ostream& out,
          std::ostream& err) {
    if (!link.Open(PathToOpen(port))) {
        err << "Can not open COM Port: " << Printable(port) << ": " << link.LastOpenError() << "\n";
        return EXIT_CANNOT_OPEN;
    }
    const ProbeResults results = RunProbeTest(link);
    link.Close();
    out << (json ? FormatJson(port, results) : FormatText(port, results));
    return EXIT_TEST_RAN;
}

}  // namespace probe
