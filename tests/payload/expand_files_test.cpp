// ExpandFiles over the portable LZ layer: every result code the layer can give, with its
// message, title and style, the order of the steps, and the showErrors switch.
#include "payload/expand_files.h"

#include <gtest/gtest.h>

#include "codec/szdd_encoder.h"
#include "tests/support/codec_samples.h"
#include "tests/support/payload_machine.h"

namespace payload_test {
namespace {

constexpr int kStyle = 4144;
const std::string kTitle = "ExpandFiles - Hata!";
const std::string kSource = "C:\\Temp\\PLMTMP\\Stop.wa_";
const std::string kDestination = "C:\\Pelmora\\Stop.wav";

class ExpandFileTest : public PayloadMachine {
 protected:
  ExpandFileTest() {
    MakeFolder("C:\\Pelmora");
    SetSource(compressed);
  }

  // The extracted item, written through the channel that made it, as the run leaves it.
  void SetSource(const Bytes& bytes) {
    if (source) source->Discard();
    source = NewFile(kSource);
    ASSERT_TRUE(source && source->Write(bytes.data(), bytes.size()));
  }
  std::unique_ptr<platform::FileChannel> NewFile(const std::string& path) {
    int error = 0;
    return backend.files.Open(path, platform::ChannelMode::kCreateNew, error);
  }

  std::int32_t Expand(bool showErrors = true) {
    if (destination) destination->Discard();
    destination = NewFile(kDestination);
    if (!destination) ADD_FAILURE() << "no destination";
    return destination ? payload::ExpandFile(platform, *source, *destination, showErrors) : 0;
  }
  Bytes Expanded() {
    Bytes bytes(static_cast<std::size_t>(destination->Length()));
    EXPECT_TRUE(destination->ReadAt(0, bytes.data(), bytes.size()));
    return bytes;
  }

  void CorruptSource(std::size_t at, std::uint8_t value) {
    compressed[at] = value;
    SetSource(compressed);
  }

  const Bytes sound = MakeSample(Sample::kStructured, 4304);
  Bytes compressed = codec::szdd::Compress(sound, 'v');
  std::unique_ptr<platform::FileChannel> source;
  std::unique_ptr<platform::FileChannel> destination;
};

TEST_F(ExpandFileTest, ExpandsAnSzddFileToTheLengthInItsHeader) {
  EXPECT_EQ(Expand(), 4304);
  EXPECT_EQ(Expanded(), sound);
  ExpectNoMessage();
  EXPECT_EQ(backend.lz.OpenHandles(), 0u);
  // The item is read from its first byte each time, wherever its channel was left.
  EXPECT_EQ(Expand(), 4304);
}

TEST_F(ExpandFileTest, CopiesAFileWithoutTheSignatureUnchanged) {
  const Bytes plain = MakeSample(Sample::kText, 70000);
  SetSource(plain);
  EXPECT_EQ(Expand(), 70000);
  EXPECT_EQ(Expanded(), plain);
}

TEST_F(ExpandFileTest, AnEmptyExpansionIsAResultOfZero) {
  SetSource(codec::szdd::Compress({}, 'v'));
  EXPECT_EQ(Expand(), 0);
  ExpectNoMessage();
  EXPECT_TRUE(Expanded().empty());
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

// A file that the run could not open or make is reported by its code, naming the trimmed path.
TEST_F(ExpandFileTest, EveryOpenFailureHasItsCodeAndMessage) {
  for (const OpenCase& open : kOpenCases) {
    SCOPED_TRACE("error " + std::to_string(open.errorCode));
    backend.toolkit.ClearRecords();
    const std::int32_t result = payload::MapOpenError(open.errorCode);
    EXPECT_EQ(result, open.result);
    payload::ShowOpenError(backend.toolkit, result, " " + kDestination + "  ");
    ExpectOneMessage(WithPath(open.message, kDestination), kStyle, kTitle);
  }
}

TEST_F(ExpandFileTest, ShowOpenErrorShowsNothingForOtherCodes) {
  for (std::int32_t code : {0, -17, -100, 5}) payload::ShowOpenError(backend.toolkit, code, "x");
  ExpectNoMessage();
}

TEST_F(ExpandFileTest, ADamagedOrTruncatedSourceIsMinus300) {
  compressed.resize(compressed.size() / 2);
  SetSource(compressed);
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
  backend.faults.Clear();
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
