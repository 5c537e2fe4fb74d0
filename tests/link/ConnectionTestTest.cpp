#include <gtest/gtest.h>

#include "link/ConnectionTest.h"
#include "link/SerialLink.h"
#include "tests/sys/FakeSerialPort.h"

namespace {

using fake::Frame;

// Records the observer calls as text, in order.
class RecordingObserver final : public TestObserver {
public:
    std::vector<std::string> calls;

    void OnTextResult(Inquiry inquiry, const std::optional<std::string>& text) override {
        calls.push_back(Name(inquiry) + ": " + (text ? "\"" + *text + "\"" : "no response"));
    }
    void OnProtectionResult(ProtectionResult result) override {
        calls.push_back(result == ProtectionResult::None        ? "protection: none"
                        : result == ProtectionResult::Protected ? "protection: protected"
                                                                : "protection: no response");
    }
    void OnRefresh() override { calls.push_back("refresh"); }

private:
    static std::string Name(Inquiry inquiry) {
        switch (inquiry) {
        case Inquiry::EngineCode: return "engine code";
        case Inquiry::Version: return "version";
        case Inquiry::Protection: return "protection";
        case Inquiry::LegacyEngineCode: return "legacy engine code";
        case Inquiry::LegacyVersion: return "legacy version";
        }
        return "?";
    }
};

class ConnectionTestTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.Open("COM3")); }

    // The replies to the five inquiries, in order; an empty step list is silence.
    std::vector<std::string> Run(std::vector<std::vector<fake::Step>> replies) {
        for (auto& reply : replies)
            ports.state->repliesToWrites.push_back(std::move(reply));
        RecordingObserver observer;
        RunConnectionTest(link, observer);
        return observer.calls;
    }

    fake::FakeSerialPorts ports;
    CSerialLink link{ports};
};

const std::vector<fake::Step> SILENT;

TEST_F(ConnectionTestTest, TarvexControllerWithoutProtection) {
    const auto calls = Run(
        {Frame(0xF3, "ABCDEFGH"), Frame(0xF5, "1.020"), Frame(0xAD, "        "), SILENT, SILENT});
    EXPECT_EQ(calls,
              (std::vector<std::string>{
                  "engine code: \"ABCDEFGH\"", "version: \"1.020\"", "protection: none", "refresh",
                  "legacy engine code: no response", "legacy version: no response"}));
    EXPECT_EQ(ports.state->Writes().size(), 5u);
    EXPECT_EQ(ports.state->Writes()[2], (std::vector<std::uint8_t>{0xAD, 0x02, 0x50}));
    EXPECT_TRUE(link.IsOpen());  // the test neither opens nor closes
}

TEST_F(ConnectionTestTest, TextsAreCutToTheirWindowsAndAtTheFirstZero) {
    const auto calls = Run({Frame(0xF3, "ABCDEFGHIJ"), Frame(0xF5, "12345678"), SILENT,
                            Frame(0x6B, std::string("ABC\0EFGH", 8)), Frame(0x6C, "")});
    EXPECT_EQ(calls[0], "engine code: \"ABCDEFGH\"");
    EXPECT_EQ(calls[1], "version: \"12345\"");
    EXPECT_EQ(calls[3], "legacy engine code: \"ABC\"");
    EXPECT_EQ(calls[4], "legacy version: \"\"");
}

TEST_F(ConnectionTestTest, ProtectedWhenTheNinthByteIsNotZero) {
    const auto calls = Run({SILENT, SILENT, Frame(0xAD, "        X"), SILENT, SILENT});
    EXPECT_EQ(calls[2], "protection: protected");
    EXPECT_EQ(calls[3], "refresh");
}

TEST_F(ConnectionTestTest, ProtectedWhenTheSpacesDiffer) {
    const auto calls = Run({SILENT, SILENT, Frame(0xAD, "       *"), SILENT, SILENT});
    EXPECT_EQ(calls[2], "protection: protected");
}

TEST_F(ConnectionTestTest, LegacyControllerAnswersOnlyTheLegacySet) {
    const auto calls = Run({SILENT, SILENT, SILENT, Frame(0x6B, "OLD00001"), Frame(0x6C, "0.90")});
    EXPECT_EQ(calls,
              (std::vector<std::string>{
                  "engine code: no response", "version: no response", "protection: no response",
                  "legacy engine code: \"OLD00001\"", "legacy version: \"0.90\""}));
}

TEST_F(ConnectionTestTest, SilentPortGivesFiveNoResponsesAndNoRefresh) {
    const auto calls = Run({});
    EXPECT_EQ(calls,
              (std::vector<std::string>{
                  "engine code: no response", "version: no response", "protection: no response",
                  "legacy engine code: no response", "legacy version: no response"}));
    EXPECT_EQ(ports.state->Count(fake::Call::Kind::Read), 25);
}

TEST_F(ConnectionTestTest, GarbledProtectionReplyIsNoResponseWithoutRefresh) {
    auto garbled = Frame(0xAD, "        ");
    garbled.back().byte ^= 0x01;
    const auto calls = Run({SILENT, SILENT, garbled, SILENT, SILENT});
    EXPECT_EQ(calls[2], "protection: no response");
    EXPECT_EQ(calls[3], "legacy engine code: no response");
}

// Mended: the reply area used to be shared over the five inquiries without clearing.
TEST_F(ConnectionTestTest, ShortAnswerShowsNoLeftoversOfAnEarlierOne) {
    const auto calls = Run({SILENT, SILENT, SILENT, Frame(0x6B, "ABCDEFGH"), Frame(0x6C, "XY")});
    EXPECT_EQ(calls[4], "legacy version: \"XY\"");
}

TEST_F(ConnectionTestTest, EightSpacesReadAsNoneWhateverCameBefore) {
    // Inquiry 1 unanswered and inquiry 2 reaching past byte 8: with a shared area the ninth
    // byte would be 'J' and the answer would read as protected.
    const auto calls =
        Run({SILENT, Frame(0xF5, "ABCDEFGHIJ"), Frame(0xAD, "        "), SILENT, SILENT});
    EXPECT_EQ(calls[2], "protection: none");
}

}  // namespace

namespace {

// Why each inquiry came out as it did: every exchange's result and the reply bytes as far as
// they came, reported just before the outcome the dialog sees.
TEST(ConnectionTestExchanges, EachExchangeReachesTheObserverBeforeItsOutcome) {
    class ExchangeObserver final : public TestObserver {
    public:
        std::vector<std::string> calls;
        void OnExchange(const ExchangeRecord& record) override {
            std::string reply;
            for (const std::uint8_t byte : record.reply)
                reply += " " + std::to_string(byte);
            calls.push_back("exchange " + std::to_string(record.command) + " -> " +
                            std::to_string(record.result) + ":" + reply);
            EXPECT_GE(record.milliseconds, 0.0);
        }
        void OnTextResult(Inquiry, const std::optional<std::string>& text) override {
            calls.push_back(text ? "text " + *text : "text none");
        }
        void OnProtectionResult(ProtectionResult result) override {
            calls.push_back(result == ProtectionResult::NoResponse ? "protection none"
                                                                   : "protection answered");
        }
        void OnRefresh() override { calls.push_back("refresh"); }
    };

    std::vector<fake::Step> badChecksum = Frame(0xF5, "1");
    badChecksum.back().byte = static_cast<std::uint8_t>(badChecksum.back().byte + 1);
    fake::FakeSerialPorts ports;
    for (auto reply : {Frame(0xF3, "AB"), badChecksum,
                       fake::Concat({fake::Bytes({0xAD, 0x0A, 0x20}), {5, fake::Empty()}}),
                       fake::Concat({fake::Bytes({0x6B, 0x0A}), {fake::Fail()}}), SILENT})
        ports.state->repliesToWrites.push_back(reply);
    CSerialLink link(ports);
    ASSERT_TRUE(link.Open("COM3"));
    ExchangeObserver observer;
    RunConnectionTest(link, observer);

    // Commands in decimal: F3 243, F5 245, AD 173, 6B 107, 6C 108.
    EXPECT_EQ(observer.calls, (std::vector<std::string>{
                                  "exchange 243 -> 4: 243 4 65 66 133",
                                  "text AB",
                                  "exchange 245 -> -2: 245 3 49 215",
                                  "text none",
                                  "exchange 173 -> -3: 173 10 32",
                                  "protection none",
                                  "exchange 107 -> -1: 107 10",
                                  "text none",
                                  "exchange 108 -> -3:",
                                  "text none",
                              }));
}

}  // namespace
