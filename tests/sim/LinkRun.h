#pragma once
// Helpers for tests against marlox-sim on a real pty: a connection test through CSerialLink with
// every outcome recorded, and raw reads of what the simulator puts on the wire.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/ConnectionTest.h"

class CSerialLink;
namespace sys {
class SerialPort;
}

namespace simtest {

// marlox-sim's default answers.
inline const std::string DEFAULT_ENGINE_CODE = "E7TX0421";
inline const std::string DEFAULT_VERSION = "V3.02";
inline const std::string DEFAULT_LEGACY_ENGINE_CODE = "E4LG0193";
inline const std::string DEFAULT_LEGACY_VERSION = "V1.07";

struct Outcome {
    std::optional<std::string> engineCode;
    std::optional<std::string> version;
    std::optional<ProtectionResult> protection;  // nullopt: never reported
    std::optional<std::string> legacyEngineCode;
    std::optional<std::string> legacyVersion;
    int refreshes = 0;
    int reports = 0;
    double seconds = 0;  // RunConnectionTest alone
};

class RecordingObserver : public TestObserver {
public:
    explicit RecordingObserver(Outcome& outcome) : m_outcome(outcome) {}
    // Called after each text result, before the next inquiry starts.
    std::function<void(Inquiry)> afterText;

    void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) override;
    void OnProtectionResult(ProtectionResult result) override;
    void OnRefresh() override { ++m_outcome.refreshes; }

private:
    Outcome& m_outcome;
};

// Runs the test on an open link.
Outcome RunOn(CSerialLink& link, std::function<void(Inquiry)> afterText = {});

// Opens path, runs the test, closes. A failed open is a test failure (outcome all empty).
Outcome RunOnPath(const std::string& path, std::function<void(Inquiry)> afterText = {});

// Reads raw bytes until maxBytes arrived, maxEmpty reads in a row found nothing, or the
// port failed.
std::vector<std::uint8_t> ReadRaw(sys::SerialPort& port, std::size_t maxBytes, int maxEmpty);

}  // namespace simtest
