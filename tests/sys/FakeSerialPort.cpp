#include "tests/sys/FakeSerialPort.h"

#include <cstdio>

namespace fake {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += digits;
    }
    return text;
}

}  // namespace

std::vector<Step> Bytes(const std::vector<std::uint8_t>& bytes) {
    std::vector<Step> steps;
    for (std::uint8_t byte : bytes)
        steps.push_back({sys::ReadStatus::Byte, byte});
    return steps;
}

std::vector<Step> Frame(std::uint8_t command, const std::string& data) {
    std::vector<std::uint8_t> frame{command, static_cast<std::uint8_t>(data.size() + 2)};
    frame.insert(frame.end(), data.begin(), data.end());
    std::uint8_t sum = 0;
    for (std::uint8_t byte : frame)
        sum = static_cast<std::uint8_t>(sum + byte);
    frame.push_back(static_cast<std::uint8_t>(~sum));
    return Bytes(frame);
}

std::vector<Step> Concat(std::vector<std::vector<Step>> parts) {
    std::vector<Step> steps;
    for (const auto& part : parts)
        steps.insert(steps.end(), part.begin(), part.end());
    return steps;
}

std::vector<std::string> PortState::Events() const {
    std::vector<std::string> events;
    for (const Call& call : calls) {
        switch (call.kind) {
        case Call::Kind::DiscardAll: events.push_back("discard all"); break;
        case Call::Kind::DiscardInput: events.push_back("discard input"); break;
        case Call::Kind::Write: events.push_back("write " + Hex(call.written)); break;
        case Call::Kind::Read: events.push_back("read"); break;
        case Call::Kind::ClearError: events.push_back("clear"); break;
        }
    }
    return events;
}

std::vector<std::vector<std::uint8_t>> PortState::Writes() const {
    std::vector<std::vector<std::uint8_t>> writes;
    for (const Call& call : calls)
        if (call.kind == Call::Kind::Write) writes.push_back(call.written);
    return writes;
}

int PortState::Count(Call::Kind kind) const {
    int count = 0;
    for (const Call& call : calls)
        count += call.kind == kind;
    return count;
}

FakeSerialPort::FakeSerialPort(std::shared_ptr<PortState> state) : m_state(std::move(state)) {
    ++m_state->openPorts;
}

FakeSerialPort::~FakeSerialPort() { --m_state->openPorts; }

void FakeSerialPort::Discard(sys::DiscardScope scope) {
    m_state->calls.push_back(
        {scope == sys::DiscardScope::All ? Call::Kind::DiscardAll : Call::Kind::DiscardInput});
    m_state->arrived.clear();
}

bool FakeSerialPort::SetByteWait(std::uint32_t milliseconds) {
    m_state->byteWaitMs = milliseconds;
    return !m_state->failByteWait;
}

bool FakeSerialPort::ApplyLineSettings(const sys::LineSettings& settings) {
    m_state->lineSettings = settings;
    return !m_state->failLineSettings;
}

bool FakeSerialPort::WriteAndFlush(const std::uint8_t* data, std::size_t count) {
    m_state->calls.push_back({Call::Kind::Write, {data, data + count}});
    if (!m_state->repliesToWrites.empty()) {
        const std::vector<Step>& reply = m_state->repliesToWrites.front();
        m_state->arrived.insert(m_state->arrived.end(), reply.begin(), reply.end());
        m_state->repliesToWrites.pop_front();
    }
    return true;
}

sys::ReadStatus FakeSerialPort::ReadByte(std::uint8_t& byte) {
    Step step = Empty();
    if (!m_state->arrived.empty()) {
        step = m_state->arrived.front();
        m_state->arrived.pop_front();
    }
    m_state->calls.push_back({Call::Kind::Read, {}, step});
    if (step.status == sys::ReadStatus::Byte) byte = step.byte;
    return step.status;
}

void FakeSerialPort::ClearError() { m_state->calls.push_back({Call::Kind::ClearError}); }

sys::OpenResult FakeSerialPorts::OpenExclusive(const std::string& path) {
    openedPaths.push_back(path);
    sys::OpenResult result;
    if (failOpen) {
        result.failure.kind = sys::OpenFailure::Kind::System;
        result.failure.systemText = "Access is denied.";
    } else {
        result.port = std::make_unique<FakeSerialPort>(state);
    }
    return result;
}

}  // namespace fake
