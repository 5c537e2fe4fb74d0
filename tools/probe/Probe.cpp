#include "tools/probe/Probe.h"

#include <cstdio>

#include "link/SerialLink.h"
#include "ports/PortPath.h"
#include "tools/probe/Json.h"
#include "tools/probe/WireTrace.h"

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
    void OnExchange(const ExchangeRecord& record) override {
        m_results.exchanges.push_back(record);
    }

private:
    ProbeResults& m_results;
};

}  // namespace

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

namespace {

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

const char* InquiryKey(Inquiry inquiry) {
    switch (inquiry) {
    case Inquiry::EngineCode: return "engine_code";
    case Inquiry::Version: return "version";
    case Inquiry::Protection: return "protection";
    case Inquiry::LegacyEngineCode: return "legacy_engine_code";
    case Inquiry::LegacyVersion: break;
    }
    return "legacy_version";
}

const char* InquiryLabel(Inquiry inquiry) {
    switch (inquiry) {
    case Inquiry::EngineCode: return "Engine code";
    case Inquiry::Version: return "Version";
    case Inquiry::Protection: return "Protection";
    case Inquiry::LegacyEngineCode: return "Legacy engine code";
    case Inquiry::LegacyVersion: break;
    }
    return "Legacy version";
}

std::string CommandHex(std::uint8_t command) { return HexBytes({command}); }

long long WholeMilliseconds(double milliseconds) {
    return static_cast<long long>(milliseconds + 0.5);
}

// "  F3 Engine code: answered in 12 ms, reply F3 0A ..."
std::string DetailText(const std::vector<ExchangeRecord>& exchanges) {
    std::string text;
    for (const ExchangeRecord& record : exchanges) {
        text += "  " + CommandHex(record.command) + " " + InquiryLabel(record.inquiry) + ": " +
                OutcomeName(record.result) + " in " +
                std::to_string(WholeMilliseconds(record.milliseconds)) + " ms, reply " +
                (record.reply.empty() ? "none" : HexBytes(record.reply)) + "\n";
    }
    return text;
}

std::string DetailJson(const std::vector<ExchangeRecord>& exchanges) {
    std::vector<std::string> objects;
    for (const ExchangeRecord& record : exchanges) {
        objects.push_back(JsonObject()
                              .String("inquiry", InquiryKey(record.inquiry))
                              .String("command", CommandHex(record.command))
                              .String("outcome", OutcomeName(record.result))
                              .String("reply", HexBytes(record.reply))
                              .Raw("ms", std::to_string(WholeMilliseconds(record.milliseconds)))
                              .Text());
    }
    return JsonArray(objects);
}

}  // namespace

const char* OutcomeName(std::int32_t exchangeResult) {
    switch (exchangeResult) {
    case EXCHANGE_NO_REPLY: return "no-reply";
    case EXCHANGE_BAD_CHECKSUM: return "bad-checksum";
    case EXCHANGE_READ_ERROR: return "read-error";
    default: break;
    }
    return exchangeResult >= 0 ? "answered" : "read-error";
}

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

std::string FormatText(const std::string& port, const ProbeResults& results, bool detail) {
    return "Port: " + Printable(port) + "\n" + "Engine code: " + TextOutcome(results.engineCode) +
           "\n" + "Version: " + TextOutcome(results.version) + "\n" +
           "Protection: " + ProtectionText(results.protection) + "\n" +
           "Legacy engine code: " + TextOutcome(results.legacyEngineCode) + "\n" +
           "Legacy version: " + TextOutcome(results.legacyVersion) + "\n" +
           (detail ? "Detail:\n" + DetailText(results.exchanges) : "");
}

std::string FormatJson(const std::string& port, const ProbeResults& results, bool detail) {
    JsonObject object;
    object.String("port", port)
        .StringOrNull("engine_code", results.engineCode)
        .StringOrNull("version", results.version)
        .StringOrNull("protection", ProtectionJson(results.protection))
        .StringOrNull("legacy_engine_code", results.legacyEngineCode)
        .StringOrNull("legacy_version", results.legacyVersion);
    if (detail) object.Raw("detail", DetailJson(results.exchanges));
    return object.Text() + "\n";
}

int Probe(CSerialLink& link, const std::string& port, bool json, std::ostream& out,
          std::ostream& err, bool detail) {
    if (!link.Open(PathToOpen(port))) {
        err << "Can not open COM Port: " << Printable(port) << ": "
            << sys::OpenFailureText(link.LastOpenError()) << "\n";
        return EXIT_CANNOT_OPEN;
    }
    const ProbeResults results = RunProbeTest(link);
    link.Close();
    out << (json ? FormatJson(port, results, detail) : FormatText(port, results, detail));
    return EXIT_TEST_RAN;
}

}  // namespace probe
