#include "link/SerialLink.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint8_t Sum(const std::uint8_t* bytes, std::size_t count) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return sum;
}

}  // namespace

CSerialLink::CSerialLink() : CSerialLink(sys::SystemSerialPorts()) {}

CSerialLink::CSerialLink(sys::SerialPorts& ports) : m_ports(ports) {}

CSerialLink::~CSerialLink() { Close(); }

bool CSerialLink::Open(const std::string& path) {
    Close();
    m_portPath = path;
    auto [port, failure] = m_ports.OpenExclusive(path);
    m_lastOpenError = std::move(failure);
    if (!port) return false;
    port->Discard(sys::DiscardScope::All);
    if (!port->SetByteWait(BYTE_WAIT_MS)) {
        m_lastOpenError.kind = sys::OpenFailure::Kind::ByteWaitRefused;
        return false;  // port closes as it goes out of scope
    }
    if (!port->ApplyLineSettings(CONTROLLER_LINE_SETTINGS)) {
        m_lastOpenError.kind = sys::OpenFailure::Kind::SettingsRefused;
        return false;
    }
    m_port = std::move(port);
    return true;
}

std::int32_t CSerialLink::Exchange(std::uint8_t command, std::uint8_t length, std::uint8_t* data,
                                   std::size_t dataSize) {
    m_replyReceived = 0;
    if (!m_port) return EXCHANGE_NOT_OPEN;

    // Request: command, N, N - 2 data bytes, complement checksum at offset N.
    const std::size_t n = length;
    m_sendArea[0] = command;
    m_sendArea[1] = length;
    const std::size_t requestData = n > 2 ? std::min(n - 2, dataSize) : 0;
    if (requestData > 0 && data != nullptr) std::memcpy(m_sendArea + 2, data, requestData);
    if (n > 2 + requestData) std::memset(m_sendArea + 2 + requestData, 0, n - 2 - requestData);
    m_sendArea[n] = static_cast<std::uint8_t>(~Sum(m_sendArea, n));

    // Whatever is still waiting belongs to an earlier exchange (a leftover or a late reply):
    // never let it pass for this request's reply.
    m_port->Discard(sys::DiscardScope::Input);
    m_port->WriteAndFlush(m_sendArea, static_cast<std::size_t>(m_sendArea[1]) + 1);

    // The length byte tells how many more bytes to read; the empty-read budget covers the
    // whole reply, not consecutive silences.
    std::size_t received = 0;
    std::size_t lastExpected = 2;
    int emptyBudget = EMPTY_READ_BUDGET;
    while (received <= lastExpected) {
        std::uint8_t byte = 0;
        const sys::ReadStatus status = m_port->ReadByte(byte);
        if (status == sys::ReadStatus::Failed) {
            m_port->ClearError();
            return EXCHANGE_READ_ERROR;
        }
        if (status == sys::ReadStatus::Byte) {
            m_replyArea[received] = byte;
            if (received == 1) lastExpected = byte;
            m_replyReceived = ++received;
        } else if (--emptyBudget == 0) {
            return EXCHANGE_NO_REPLY;
        }
    }

    const std::size_t replyLength = m_replyArea[1];
    if (Sum(m_replyArea, replyLength + 1) != 0xFF) return EXCHANGE_BAD_CHECKSUM;
    // Only what fits the caller's area is copied; the result still reports the full length.
    if (replyLength > 2 && data != nullptr)
        std::memcpy(data, m_replyArea + 2, std::min(replyLength - 2, dataSize));
    return static_cast<std::int32_t>(replyLength);
}

void CSerialLink::Close() { m_port.reset(); }

bool CSerialLink::IsOpen() const { return m_port != nullptr; }

const std::string& CSerialLink::PortPath() const { return m_portPath; }

const sys::OpenFailure& CSerialLink::LastOpenError() const { return m_lastOpenError; }

std::vector<std::uint8_t> CSerialLink::LastReply() const {
    return std::vector<std::uint8_t>(m_replyArea, m_replyArea + m_replyReceived);
}
