// ExpandFiles over the portable LZ layer: every result code the layer can give, with its
// message, title and style, the order of the steps, and the showErrors switch.
#include "payload/expand_files.h"

#include <gtest/gtest.h>

#include "codec/szdd_encoder.h"
#include "tests/support/codec_samples.h"
#include "tests/support/payload_machine.h"

namespace payload_test {
namespace {

using platform::SystemError::kAccessDenied;

constexpr int kStyle = 4144;
const std::string kTitle = "ExpandFiles - Hata!";
const std::string kSource = "C:\\Temp\\PLMTMP\\Stop.wa_";
const std::string kDestination = "C:\\Pelmora\\Stop.wav";

class ExpandFileTest : public PayloadMachine {
 protected:
  ExpandFileTest() {
    MakeFolder("C:\\Pelmora");
    WriteFile(kSource, codec::szdd::Compress(sound, 'v'));
  }

  std::int32_t Expand(bool showErrors = true) {
    return payload::ExpandFile(platform, kSource, kDestination, showErrors);
  }

  void CorruptSource(std::size_t at, std::uint8_t value) {
    Bytes bytes = ReadFile(kSource);
    bytes[at] = value;
    WriteFile(kSource, bytes);
  }

  const Bytes sound = MakeSample(Sample::kStructured, 4304);
};

TEST_F(ExpandFileTest, ExpandsAnSzddFileToTheLengthInItsHeader) {
  EXPECT_EQ(Expand(), 4304);
  EXPECT_EQ(ReadFile(kDestination), sound);
  ExpectNoMessage();
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

TEST_F(ExpandFileTest, CopiesAFileWithoutTheSignatureUnchanged) {
  const Bytes plain = MakeSample(Sample::kText, 70000);
  WriteFile(kSource, plain);
  EXPECT_EQ(Expand(), 70000);
  EXPECT_EQ(ReadFile(kDestination), plain);
}

TEST_F(ExpandFileTest, EmptiesAnExistingDestinationFirst) {
  WriteFile(kDestination, Bytes(100000, 'x'));
  EXPECT_EQ(Expand(), 4304);
  EXPECT_EQ(ReadFile(kDestination), sound);
}

TEST_F(ExpandFileTest, AnEmptyExpansionIsAResultOfZero) {
  WriteFile(kSource, codec::szdd::Compress({}, 'v'));
  EXPECT_EQ(Expand(), 0);
  ExpectNoMessage();
  EXPECT_TRUE(FileExists(kDestination));
}

TEST_F(ExpandFileTest, TrimsBothPaths) {
  EXPECT_EQ(payload::ExpandFile(platform, "  " + kSource + " ", " " + kDestination + "  ", true),
            4304);
  EXPECT_EQ(ReadFile(kDestination), sound);
}

TEST_F(ExpandFileTest, AMissingSourceCreatesNoDestination) {
  EXPECT_EQ(payload::ExpandFile(platform, " C:\\Temp\\PLMTMP\\Gone.wa_ ", kDestination, true), -1);
  ExpectOneMessage("'C:\\Temp\\PLMTMP\\Gone.wa_' isimli dosya bulunamadı!", kStyle, kTitle);
  EXPECT_FALSE(FileExists(kDestination));
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

TEST_F(ExpandFileTest, AMissingDestinationFolderNamesTheDestinationAndClosesTheSource) {
  EXPECT_EQ(payload::ExpandFile(platform, kSource, "C:\\Gone\\Stop.wav ", true), -2);
  ExpectOneMessage("'C:\\Gone\\Stop.wav' isimli dosya için yol geçersiz!", kStyle, kTitle);
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

// lz32 then writes the expansion under the destination's compressed name, beside it: the
// installation never lets it (a name that ends in "_" is its own compressed name).
TEST_F(ExpandFileTest, AReadOnlyOrBusyDestinationGivesWayToItsCompressedName) {
  WriteFile(kDestination, {});
  backend.files.SetAttributes(kDestination, platform::Attribute::kReadOnly);
  EXPECT_EQ(Expand(), 4304);
  EXPECT_EQ(ReadFile("C:\\Pelmora\\Stop.wa_"), sound);
  EXPECT_TRUE(ReadFile(kDestination).empty());
  backend.files.SetAttributes("C:\\Pelmora\\Stop.wa_", platform::Attribute::kReadOnly);
  EXPECT_EQ(Expand(), -4);
  backend.files.SetAttributes(kDestination, platform::Attribute::kNormal);
  int error = 0;
  auto holder = backend.files.Open(kDestination, platform::ChannelMode::kWriteLocked, error);
  ASSERT_TRUE(holder);
  EXPECT_EQ(Expand(), -4);
  const auto& messages = backend.toolkit.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "'" + kDestination + "' isimli dosyaya erişim engellendi!");
}

struct OpenCase {
  int errorCode;
  std::int32_t result;
  std::string message;  // with {} for the path
};

std::string WithPath(const std::string& message, const std::string& path) {
  const auto at = message.find("{}");
  return at == std::string::npos ? message : message.substr(0, at) + path + message.substr(at + 2);
}

const OpenCase kOpenCases[] = {
    {2, -1, "'{}' isimli dosya bulunamadı!"},
    {3, -2, "'{}' isimli dosya için yol geçersiz!"},
    {4, -3, "Çok sayıda açık dosya var!"},
    {5, -4, "'{}' isimli dosyaya erişim engellendi!"},
    {8, -5, "Bellek Yetersiz!"},
    {11, -6, "'{}' isimli dosyanın biçimi geçersiz!"},
    {15, -7, "'{}' isimli dosya için verilen sürücü geçersiz!"},
    {19, -8, "'{}' isimli dosyaya yazılamıyor!"},
    {21, -9, "'{}' isimli dosyanın bulunduğu sürücü hazır değil!"},
    {23, -10, "'{}' isimli dosyada CRC hatası!"},
    {27, -11, "'{}' isimli dosyanın olduğu sector bulunamadı!"},
    {32, -12, "'{}' isimli dosya kullanımda!"},
    {54, -13, "'{}' isimli dosyanın bulunduğu bilgisayar okunamıyor!"},
    {65, -14, "'{}' isimli dosyanın bulunduğu bilgisayara erişim engellendi!"},
    {80, -15, "'{}' isimli dosya zaten var!"},
    {112, -16, "'{}' isimli dosya ile ilgili bilinmeyen hata!"},
    {0xFFFF, -16, "'{}' isimli dosya ile ilgili bilinmeyen hata!"},
};

// The open of the source is the first "Open" of the call, the destination's the second.
TEST_F(ExpandFileTest, EveryOpenFailureOfEitherFileHasItsCodeAndMessage) {
  for (const OpenCase& open : kOpenCases) {
    for (int nth : {1, 2}) {
      SCOPED_TRACE("error " + std::to_string(open.errorCode) + " at open " + std::to_string(nth));
      backend.toolkit.ClearRecords();
      // Every open from the nth on fails: the second try, under the compressed name, too.
      backend.faults.Fail("Open", open.errorCode, nth, /*persistent=*/true);
      EXPECT_EQ(Expand(), open.result);
      ExpectOneMessage(WithPath(open.message, nth == 1 ? kSource : kDestination), kStyle, kTitle);
      EXPECT_EQ(backend.lz.OpenHandles(), 0u);
      backend.faults.Clear();
    }
  }
}

TEST_F(ExpandFileTest, MapOpenErrorReadsTheCodeOnlyForAFailedOpen) {
  EXPECT_EQ(payload::MapOpenError(0, 2), 0);
  EXPECT_EQ(payload::MapOpenError(7, 80), 0);
  EXPECT_EQ(payload::MapOpenError(-1, 2), -1);
  EXPECT_EQ(payload::MapOpenError(-1, 0), -16);
}

TEST_F(ExpandFileTest, ShowOpenErrorShowsNothingForOtherCodes) {
  for (std::int32_t code : {0, -17, -100, 5}) payload::ShowOpenError(backend.toolkit, code, "x");
  ExpectNoMessage();
}

TEST_F(ExpandFileTest, ADamagedOrTruncatedSourceIsMinus300) {
  Bytes bytes = ReadFile(kSource);
  bytes.resize(bytes.size() / 2);
  WriteFile(kSource, bytes);
  EXPECT_EQ(Expand(), -300);
  ExpectOneMessage("Kaynak dosya formatı geçersiz!", kStyle, kTitle);
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

TEST_F(ExpandFileTest, AnUnknownCompressionModeIsMinus800) {
  CorruptSource(8, 'B');
  EXPECT_EQ(Expand(), -800);
  ExpectOneMessage("Kaynak dosyanın sıkıştırılması için kullanılmış olan algortima desteklenmiyor!",
                   kStyle, kTitle);
}

TEST_F(ExpandFileTest, ASourceThatCannotBeReadIsMinus300) {
  backend.faults.Fail("Read", 23, 1, /*persistent=*/true);
  EXPECT_EQ(Expand(), -300);
  ExpectOneMessage("Kaynak dosya formatı geçersiz!", kStyle, kTitle);
}

TEST_F(ExpandFileTest, ADestinationThatCannotBeWrittenIsMinus400WithoutAMessage) {
  backend.faults.Fail("Write", 112);
  EXPECT_EQ(Expand(), -400);
  ExpectNoMessage();
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

// The codes that only a failing library gives: an "LZCopy" fault stands in for it.
TEST_F(ExpandFileTest, EveryOtherCopyFailureHasItsCodeAndMessage) {
  const std::pair<int, std::string> cases[] = {
      {-1, "Kaynak dosya handle numarası yanlış!"},
      {-2, "Hedef dosya handle numarası yanlış!"},
      {-5, "Bellek Yetersiz!"},
      {-6, ""},
      {-7, ""},
  };
  for (const auto& [code, message] : cases) {
    SCOPED_TRACE(code);
    backend.toolkit.ClearRecords();
    backend.faults.Fail("LZCopy", code);
    EXPECT_EQ(Expand(), code * 100);
    if (message.empty()) {
      ExpectNoMessage();
    } else {
      ExpectOneMessage(message, kStyle, kTitle);
    }
    EXPECT_EQ(backend.lz.OpenHandles(), 0u);
  }
}

TEST_F(ExpandFileTest, WithoutShowErrorsEveryFailureHasTheSameCodeAndNoMessage) {
  backend.faults.Fail("Open", 2, 1, /*persistent=*/true);
  EXPECT_EQ(Expand(false), -1);
  backend.faults.Clear();
  backend.faults.Fail("Open", 4, 2, /*persistent=*/true);
  EXPECT_EQ(Expand(false), -3);
  backend.faults.Clear();
  backend.faults.Fail("LZCopy", -1);
  EXPECT_EQ(Expand(false), -100);
  CorruptSource(8, 'B');
  EXPECT_EQ(Expand(false), -800);
  CorruptSource(8, 'A');
  CorruptSource(10, 0xFF);  // a longer expansion than the stream holds
  EXPECT_EQ(Expand(false), -300);
  ExpectNoMessage();
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
}

}  // namespace
}  // namespace payload_test
