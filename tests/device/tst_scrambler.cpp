// Check byte and block scrambling of the device protocol.
#include "device/Scrambler.h"

#include <QRandomGenerator>
#include <QtTest>
#include <array>

using Block = std::array<std::uint8_t, 8>;
Q_DECLARE_METATYPE(Block)

namespace {

// Secrecy codes as the handshake stores them: the six characters in bytes 1 to 6.
Block codeOf(const char (&text)[7])
{
    Block code{};
    for (int i = 0; i < 6; ++i)
        code[std::size_t(i) + 1] = std::uint8_t(text[i]);
    return code;
}

QByteArray hex(const Block &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), int(block.size())).toHex(' ');
}

}  // namespace

class TestScrambler : public QObject {
    Q_OBJECT
private slots:
    void checkByte_data();
    void checkByte();
    void scramblesToKnownBytes_data();
    void scramblesToKnownBytes();
    void roundTripRestoresEveryBlock_data();
    void roundTripRestoresEveryBlock();
    void anotherCodeDoesNotRestoreTheBlock();
};

void TestScrambler::checkByte_data()
{
    QTest::addColumn<Block>("block");
    QTest::addColumn<int>("expected");
    QTest::newRow("81H and zeros") << Block{0x81, 0, 0, 0, 0, 0, 0, 0} << 0x7E;
    QTest::newRow("01H rate 5") << Block{0x01, 0x05, 0, 0, 0, 0, 0, 0} << 0xF9;
    QTest::newRow("00H challenge 1 2 3 4") << Block{0x00, 0x01, 0x02, 0x03, 0x04, 0, 0, 0} << 0xF5;
    QTest::newRow("0BH stage 3") << Block{0x0B, 0x03, 0, 0, 0, 0, 0, 0} << 0xF1;
    QTest::newRow("14H colour 2 ff 00 10") << Block{0x14, 0x00, 0x02, 0xFF, 0x00, 0x10, 0, 0} << 0xDA;
    QTest::newRow("13H recovery") << Block{0x13, 0xFF, 0, 0, 0, 0, 0, 0} << 0xED;
    QTest::newRow("sum wraps past 255") << Block{0xFF, 0xFF, 0x02, 0, 0, 0, 0, 0} << 0xFF;
    QTest::newRow("byte 7 is not summed") << Block{0x81, 0, 0, 0, 0, 0, 0, 0x55} << 0x7E;
}

void TestScrambler::checkByte()
{
    QFETCH(Block, block);
    QFETCH(int, expected);
    QCOMPARE(int(scrambler::checkByte(block.data())), expected);
}

// Worked out step by step from the algorithm. The table "KeMswTor" with its nibbles exchanged
// is B4 56 D4 37 77 45 F6 27; the code of "417306" is 00 34 31 37 33 30 36 00.
void TestScrambler::scramblesToKnownBytes_data()
{
    QTest::addColumn<Block>("plain");
    QTest::addColumn<Block>("code");
    QTest::addColumn<Block>("scrambled");
    // Zeros stay zero through swap, XOR and rotation; only the table is added.
    QTest::newRow("zero block, zero code") << Block{} << Block{} << Block{0xB4, 0x56, 0xD4, 0x37, 0x77, 0x45, 0xF6, 0x27};
    // swap: 00 00 00 00 00 80 00 00; rotate: the bit moves 3 places up into byte 4: 04.
    QTest::newRow("top bit, zero code") << Block{0x80, 0, 0, 0, 0, 0, 0, 0} << Block{}
                                        << Block{0xB4, 0x56, 0xD4, 0x37, 0x7B, 0x45, 0xF6, 0x27};
    // swap: 00 00 F1 00 03 0B 00 00; XOR: 00 34 C0 37 30 3B 36 00;
    // rotate: 01 A6 01 B9 81 D9 B0 00; add: B5 FC D5 F0 F8 1E A6 27.
    QTest::newRow("0BH stage 3, 417306") << Block{0x0B, 0x03, 0, 0, 0, 0, 0, 0xF1} << codeOf("417306")
                                         << Block{0xB5, 0xFC, 0xD5, 0xF0, 0xF8, 0x1E, 0xA6, 0x27};
    // swap: 00 04 F5 00 01 00 03 02; XOR: 00 30 C4 37 32 30 35 02;
    // rotate: 01 86 21 B9 91 81 A8 10; add: B5 DC F5 F0 08 C6 9E 37.
    QTest::newRow("00H challenge 1 2 3 4, 417306") << Block{0x00, 0x01, 0x02, 0x03, 0x04, 0, 0, 0xF5} << codeOf("417306")
                                                   << Block{0xB5, 0xDC, 0xF5, 0xF0, 0x08, 0xC6, 0x9E, 0x37};
}

void TestScrambler::scramblesToKnownBytes()
{
    QFETCH(Block, plain);
    QFETCH(Block, code);
    QFETCH(Block, scrambled);
    Block block = plain;
    scrambler::scramble(block.data(), code.data());
    QCOMPARE(hex(block), hex(scrambled));
    scrambler::descramble(block.data(), code.data());
    QCOMPARE(hex(block), hex(plain));
}

void TestScrambler::roundTripRestoresEveryBlock_data()
{
    QTest::addColumn<Block>("code");
    QTest::newRow("zero code") << Block{};
    QTest::newRow("417306") << codeOf("417306");
    QTest::newRow("high bytes, ends used") << Block{0xAA, 0xFF, 0x80, 0x7F, 0x01, 0xFE, 0x55, 0xCC};
}

void TestScrambler::roundTripRestoresEveryBlock()
{
    QFETCH(Block, code);
    std::vector<Block> blocks = {Block{}, Block{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                                 Block{0, 1, 2, 3, 4, 5, 6, 7}};
    for (int bit = 0; bit < 64; ++bit) {  // every single bit, to catch rotation faults
        Block single{};
        single[std::size_t(bit / 8)] = std::uint8_t(0x80 >> (bit % 8));
        blocks.push_back(single);
    }
    QRandomGenerator random(20240611);
    for (int i = 0; i < 2000; ++i) {
        Block block;
        for (auto &byte : block)
            byte = std::uint8_t(random.bounded(256));
        blocks.push_back(block);
    }
    for (const Block &plain : blocks) {
        Block block = plain;
        scrambler::scramble(block.data(), code.data());
        scrambler::descramble(block.data(), code.data());
        QCOMPARE(hex(block), hex(plain));
    }
}

void TestScrambler::anotherCodeDoesNotRestoreTheBlock()
{
    Block block{0x00, 0x11, 0x22, 0x33, 0x44, 0, 0, 0};
    block[7] = scrambler::checkByte(block.data());
    const Block plain = block;
    scrambler::scramble(block.data(), codeOf("417306").data());
    scrambler::descramble(block.data(), codeOf("123456").data());
    QVERIFY(hex(block) != hex(plain));
}

QTEST_GUILESS_MAIN(TestScrambler)
#include "tst_scrambler.moc"
