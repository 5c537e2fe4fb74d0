#pragma once
// One serial port to the engine controller, with its framed request/reply exchange.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sys/SerialPort.h"

constexpr std::int32_t EXCHANGE_READ_ERROR = -1;  // a read call failed
constexpr std::int32_t EXCHANGE_BAD_CHECKSUM = -2;
constexpr std::int32_t EXCHANGE_NO_REPLY = -3;
// An exchange on a link that is not open. Callers have always seen it as a failed read (the
// probe's "read-error"), so it keeps that value under a name that says what happened.
constexpr std::int32_t EXCHANGE_NOT_OPEN = EXCHANGE_READ_ERROR;

// The controller's line: 19200 baud, even parity, 8 data bits, 1 stop bit.
constexpr sys::LineSettings CONTROLLER_LINE_SETTINGS{19200, sys::Parity::Even, 8,
                                                     sys::StopBits::One};
// A one-byte read returns as soon as the byte is there, else empty after this many ms.
constexpr std::uint32_t BYTE_WAIT_MS = 101;
// Empty reads one exchange may meet in all, over the whole reply.
constexpr int EMPTY_READ_BUDGET = 5;

class CSerialLink {
public:
    CSerialLink();                                  // the system's serial ports
    explicit CSerialLink(sys::SerialPorts& ports);  // any other source of ports (tests)
    ~CSerialLink();                                 // closes the port if still open
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    // An open link is closed first; a failed Open leaves the link closed.
    bool Open(const std::string& path);
    // Sends command/length/data and reads the reply. Input still pending from earlier exchanges
    // is discarded before the request goes out. The reply's data is copied into data, never more
    // than dataSize bytes (a longer reply is cut; the result is still its length byte); a failed
    // exchange leaves data untouched. Returns the reply's length byte or a negative EXCHANGE_
    // code (EXCHANGE_NOT_OPEN on a link that is not open).
    std::int32_t Exchange(std::uint8_t command, std::uint8_t length, std::uint8_t* data,
                          std::size_t dataSize);
    void Close();

    bool IsOpen() const;
    const std::string& PortPath() const;
    // Why the last Open failed; kind None after one that succeeded.
    const sys::OpenFailure& LastOpenError() const;
    // The last exchange's reply bytes as far as they arrived, whatever its result: the whole
    // frame after a success or a bad checksum, the bytes before the silence or the failed read
    // otherwise.
    std::vector<std::uint8_t> LastReply() const;

private:
    sys::SerialPorts& m_ports;
    std::string m_portPath;
    std::uint8_t m_sendArea[256] = {};
    std::uint8_t m_replyArea[256] = {};
    std::size_t m_replyReceived = 0;
    std::unique_ptr<sys::SerialPort> m_port;
    sys::OpenFailure m_lastOpenError;
};
