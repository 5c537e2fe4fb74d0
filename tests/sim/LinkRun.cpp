#include "tests/sim/LinkRun.h"

#include <gtest/gtest.h>

#include <chrono>

#include "link/SerialLink.h"
#include "sys/SerialPort.h"

namespace simtest {

void RecordingObserver::OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) {
    ++m_outcome.reports;
    switch (inquiry) {
    case Inquiry::EngineCode: m_outcome.engineCode = text; break;
    case Inquiry::Version: m_outcome.version = text; break;
    case Inquiry::LegacyEngineCode: m_outcome.legacyEngineCode = text; break;
    case Inquiry::LegacyVersion: m_outcome.legacyVersion = text; break;
    case Inquiry::Protection: ADD_FAILURE() << "protection reported as a text"; break;
    }
    if (afterText) afterText(inquiry);
}

void RecordingObserver::OnProtectionResult(ProtectionResult result) {
    ++m_outcome.reports;
    m_outcome.protection = result;
}

Outcome RunOn(CSerialLink& link, std::function<void(Inquiry)> afterText) {
    Outcome outcome;
    RecordingObserver observer(outcome);
    observer.afterText = std::move(afterText);
    const auto start = std::chrono::steady_clock::now();
    RunConnectionTest(link, observer);
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(outcome.reports, 5);
    return outcome;
}

Outcome RunOnPath(const std::string& path, std::function<void(Inquiry)> afterText) {
    CSerialLink link;
    if (!link.Open(path)) {
        ADD_FAILURE() << "cannot open " << path << ": "
                      << sys::OpenFailureText(link.LastOpenError());
        return {};
    }
    Outcome outcome = RunOn(link, std::move(afterText));
    link.Close();
    return outcome;
}

std::vector<std::uint8_t> ReadRaw(sys::SerialPort& port, std::size_t maxBytes, int maxEmpty) {
    std::vector<std::uint8_t> bytes;
    for (int empty = 0; bytes.size() < maxBytes && empty < maxEmpty;) {
        std::uint8_t byte = 0;
        const sys::ReadStatus status = port.ReadByte(byte);
        if (status == sys::ReadStatus::Byte)
            bytes.push_back(byte);
        else if (status == sys::ReadStatus::Empty)
            ++empty;
        else
            break;
    }
    return bytes;
}

}  // namespace simtest
