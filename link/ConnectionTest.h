#pragma once
// The five inquiries of a connection test and the order they are made in.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CSerialLink;

constexpr std::uint8_t CMD_ENGINECODE = 0xF3;
constexpr std::uint8_t CMD_VERSION = 0xF5;
constexpr std::uint8_t CMD_PROTECTION = 0xAD;
constexpr std::uint8_t CMD_LEGACY_ENGINECODE = 0x6B;
constexpr std::uint8_t CMD_LEGACY_VERSION = 0x6C;

enum class Inquiry { EngineCode, Version, Protection, LegacyEngineCode, LegacyVersion };

enum class ProtectionResult { None, Protected, NoResponse };

// One inquiry's exchange as the link saw it.
struct ExchangeRecord {
    Inquiry inquiry = Inquiry::EngineCode;
    std::uint8_t command = 0;
    std::int32_t result = 0;          // the reply's length byte or a negative EXCHANGE_ code
    std::vector<std::uint8_t> reply;  // the reply frame's bytes as far as they arrived
    double milliseconds = 0;          // from the request's write to the exchange's end
};

// Receives each outcome the moment it is known.
class TestObserver {
public:
    virtual ~TestObserver() = default;
    // Before the outcome it leads to is reported: why an inquiry had no response, for tools
    // that explain it. The dialog has no use for it.
    virtual void OnExchange(const ExchangeRecord&) {}
    // Inquiries 1, 2, 4 and 5: the text, or nullopt for no response.
    virtual void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) = 0;
    // Inquiry 3.
    virtual void OnProtectionResult(ProtectionResult result) = 0;
    // After an answered protection inquiry: bring the display up to date.
    virtual void OnRefresh() = 0;
};

// Runs the five inquiries on an open link. Neither opens nor closes the link.
void RunConnectionTest(CSerialLink& link, TestObserver& observer);
