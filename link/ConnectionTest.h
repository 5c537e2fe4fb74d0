#pragma once
// The five inquiries of a connection test and the order they are made in.

#include <cstdint>
#include <optional>
#include <string>

class CSerialLink;

constexpr std::uint8_t CMD_ENGINECODE = 0xF3;
constexpr std::uint8_t CMD_VERSION = 0xF5;
constexpr std::uint8_t CMD_PROTECTION = 0xAD;
constexpr std::uint8_t CMD_LEGACY_ENGINECODE = 0x6B;
constexpr std::uint8_t CMD_LEGACY_VERSION = 0x6C;

enum class Inquiry { EngineCode, Version, Protection, LegacyEngineCode, LegacyVersion };

enum class ProtectionResult { None, Protected, NoResponse };

// Receives each outcome the moment it is known.
class TestObserver {
public:
    virtual ~TestObserver() = default;
    // Inquiries 1, 2, 4 and 5: the text, or nullopt for no response.
    virtual void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) = 0;
    // Inquiry 3.
    virtual void OnProtectionResult(ProtectionResult result) = 0;
    // After an answered protection inquiry: bring the display up to date.
    virtual void OnRefresh() = 0;
};

// Runs the five inquiries on an open link. Neither opens nor closes the link.
void RunConnectionTest(CSerialLink& link, TestObserver& observer);
