#include "tools/probe/Probe.h"

#include <cstdio>

#include "link/HexBytes.h"
#include "link/SerialLink.h"
#include "ports/PortPath.h"
#include "sys/StopSignals.h"
#include "tools/probe/Json.h"
#include "tools/probe/Stoppable.h"
#include "tools/probe/Texts.h"

namespace probe {
namespace {

// A result no inquiry answered, as the dialog shows it.
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

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0 when there is none
// (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut off).
std::size_t Utf8SequenceLength(const std::string& bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    }
    return length;
}

// Well-formed characters that steer a terminal or the reading order all the same.
bool Steers(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

char32_t Decode(const std::string& bytes, std::size_t i, std::size_t length) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    return c;
}

// Length of the character at bytes[i] that may be printed as it is, or 0.
std::size_t PrintableLength(const std::string& bytes, std::size_t i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) return byte >= 0x20 && byte < 0x7F ? 1 : 0;
    const std::size_t length = Utf8SequenceLength(bytes, i);
    return length > 0 && !Steers(Decode(bytes, i, length)) ? length : 0;
}

}  // namespace

std::string Printable(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t length = PrintableLength(bytes, i)) {
            text.append(bytes, i, length);
            i += length;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(bytes[i++]));
            text += escape;
        }
    }
    return text;
}

int Print(const std::string& text, int status, std::ostream& out, std::ostream& err) {
    if (sys::CaughtStopSignal() == 0) out << text << std::flush;
    // A lost pipe shows as its signal rather than as a failed write.
    if (const int signal = sys::CaughtStopSignal()) return EXIT_STOPPED + signal;
    if (out) return status;
    err << OUTPUT_NOT_WRITTEN;
    return EXIT_WRITE_FAILED;
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

Json ProtectionJson(ProtectionResult result) {
    switch (result) {
    case ProtectionResult::None: return "none";
    case ProtectionResult::Protected: return "protected";
    case ProtectionResult::NoResponse: break;
    }
    return nullptr;
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

Json DetailJson(const std::vector<ExchangeRecord>& exchanges) {
    Json objects = Json::array();
    for (const ExchangeRecord& record : exchanges) {
        objects.push_back({{"inquiry", InquiryKey(record.inquiry)},
                           {"command", CommandHex(record.command)},
                           {"outcome", OutcomeName(record.result)},
                           {"reply", HexBytes(record.reply)},
                           {"ms", WholeMilliseconds(record.milliseconds)}});
    }
    return objects;
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
    const auto line = [](Inquiry inquiry, const std::string& outcome) {
        return std::string(InquiryLabel(inquiry)) + ": " + outcome + "\n";
    };
    return "Port: " + Printable(port) + "\n" +
           line(Inquiry::EngineCode, TextOutcome(results.engineCode)) +
           line(Inquiry::Version, TextOutcome(results.version)) +
           line(Inquiry::Protection, ProtectionText(results.protection)) +
           line(Inquiry::LegacyEngineCode, TextOutcome(results.legacyEngineCode)) +
           line(Inquiry::LegacyVersion, TextOutcome(results.legacyVersion)) +
           (detail ? "Detail:\n" + DetailText(results.exchanges) : "");
}

Json ResultsJson(const std::string& port, const ProbeResults& results, bool detail) {
    Json object = {{"port", JsonString(port)},
                   {"engine_code", JsonStringOrNull(results.engineCode)},
                   {"version", JsonStringOrNull(results.version)},
                   {"protection", ProtectionJson(results.protection)},
                   {"legacy_engine_code", JsonStringOrNull(results.legacyEngineCode)},
                   {"legacy_version", JsonStringOrNull(results.legacyVersion)}};
    if (detail) object["detail"] = DetailJson(results.exchanges);
    return object;
}

std::string FormatJson(const std::string& port, const ProbeResults& results, bool detail) {
    return JsonText(ResultsJson(port, results, detail)) + "\n";
}

int Probe(CSerialLink& link, const std::string& port, bool json, std::ostream& out,
          std::ostream& err, bool detail) {
    if (!link.Open(PathToOpen(port))) {
        err << CANNOT_OPEN << Printable(port) << ": "
            << Printable(sys::OpenFailureText(link.LastOpenError())) << "\n";
        return EXIT_CANNOT_OPEN;
    }
    const ProbeResults results = RunProbeTest(link);
    link.Close();
    return Print(json ? FormatJson(port, results, detail) : FormatText(port, results, detail),
                 EXIT_OK, out, err);
}

}  // namespace probe
