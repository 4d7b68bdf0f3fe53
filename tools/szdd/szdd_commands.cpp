#include "tools/szdd/szdd_commands.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "tools/common/host_files.h"

namespace tools::szdd {
namespace {

namespace fs = std::filesystem;
using codec::szdd::Status;

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "szdd: %s\n", message.c_str());
  return code;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using InputFile = std::unique_ptr<std::FILE, FileCloser>;

int CannotRead(const fs::path& in) { return Fail(kInputUnreadable, "cannot read " + Quoted(in)); }
int NotSzdd(const fs::path& in) { return Fail(kNotSzdd, Quoted(in) + " is not an SZDD file"); }
int Damaged(const fs::path& in) { return Fail(kDamaged, Quoted(in) + " is damaged or truncated"); }

// The exit code for an expansion that did not succeed.
int ExpansionFailure(const codec::szdd::Expansion& expansion, const fs::path& in,
                     const fs::path& out) {
  switch (expansion.status) {
    case Status::kOk:
      break;
    case Status::kNotSzdd:
      return NotSzdd(in);
    case Status::kBadData:
      return Damaged(in);
    case Status::kReadFailed:
      return CannotRead(in);
    case Status::kWriteFailed:
      return Fail(kOutputUnwritable, "cannot write " + Quoted(out));
    case Status::kUnknownMode:
      return Fail(kUnknownMode, Quoted(in) + " uses compression mode '" +
                                    std::string(1, static_cast<char>(expansion.header.mode)) +
                                    "', not 'A'");
  }
  return kSuccess;
}

// Counts expanded bytes without keeping them.
class DiscardingSink : public codec::ByteSink {
 public:
  bool Write(const std::uint8_t*, std::size_t) override { return true; }
};

// An output that is the input would replace what is being read.
int OutputIsTheInput(const fs::path& in, const fs::path& out) {
  return Fail(kUsage,
              "the output " + Quoted(out) + " is the input " + Quoted(in) + "; give another");
}

std::uint8_t LastChar(const fs::path& path) {
  const std::string name = path.filename().string();
  return name.empty() ? 0 : static_cast<std::uint8_t>(name.back());
}

fs::path WithLastChar(const fs::path& path, char last) {
  std::string name = path.filename().string();
  name.back() = last;
  return path.parent_path() / name;
}

}  // namespace

std::optional<fs::path> CompressedName(const fs::path& in) {
  if (!in.has_filename()) return std::nullopt;
  return WithLastChar(in, '_');
}

std::optional<fs::path> ExpandedName(const fs::path& in, std::uint8_t lastChar) {
  if (!in.has_filename() || LastChar(in) != '_' || lastChar == 0) return std::nullopt;
  return WithLastChar(in, static_cast<char>(lastChar));
}

int Compress(const fs::path& in, std::optional<fs::path> out) {
  if (!out) out = CompressedName(in);
  if (!out) return Fail(kUsage, "cannot name the output for " + Quoted(in) + "; give one");
  if (NamesAnInput(*out, std::span(&in, 1))) return OutputIsTheInput(in, *out);
  static_assert(kMaxInputSize <= codec::szdd::kMaxExpandedLength);
  std::vector<std::uint8_t> data;
  if (const ReadResult read = ReadInput(in, data, kMaxInputSize); read != ReadResult::kRead) {
    return Fail(read == ReadResult::kTooLarge ? kTooLarge : kInputUnreadable,
                ReadFailure(read, in, kMaxInputSize));
  }
  if (!WriteWholeFile(*out, codec::szdd::Compress(data, LastChar(in)))) {
    return Fail(kOutputUnwritable, "cannot write " + Quoted(*out));
  }
  return kSuccess;
}

int Expand(const fs::path& in, std::optional<fs::path> out) {
  const InputFile input(std::fopen(in.c_str(), "rb"));
  if (!input) return CannotRead(in);
  if (!out) {
    std::uint8_t bytes[codec::szdd::kHeaderSize];
    codec::szdd::Header header;
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, input.get());
    if (std::ferror(input.get())) return CannotRead(in);  // a folder, say
    switch (codec::szdd::ParseHeader(bytes, got, header)) {
      case codec::szdd::HeaderKind::kNotSzdd:
        return NotSzdd(in);
      case codec::szdd::HeaderKind::kTruncated:
        return Damaged(in);
      case codec::szdd::HeaderKind::kSzdd:
        out = ExpandedName(in, header.lastChar);
    }
    // The expansion reads the header again: a pipe cannot give it twice.
    if (std::fseek(input.get(), 0, SEEK_SET) != 0) return CannotRead(in);
  }
  if (!out) {
    return Fail(kUsage, "cannot name the output for " + Quoted(in) +
                            " (its name does not end in '_' or its header records no character); "
                            "give one");
  }
  if (NamesAnInput(*out, std::span(&in, 1))) return OutputIsTheInput(in, *out);
  FileSource source(input.get());
  OutputFile output(*out);
  if (!output.IsOpen()) return Fail(kOutputUnwritable, "cannot write " + Quoted(*out));
  const codec::szdd::Expansion expansion = codec::szdd::Expand(source, output);
  if (expansion.status != Status::kOk) return ExpansionFailure(expansion, in, *out);
  if (!output.Commit()) return Fail(kOutputUnwritable, "cannot write " + Quoted(*out));
  return kSuccess;
}

int Info(const fs::path& file) {
  const InputFile input(std::fopen(file.c_str(), "rb"));
  if (!input) return CannotRead(file);
  FileSource source(input.get());
  DiscardingSink sink;
  const codec::szdd::Expansion expansion = codec::szdd::Expand(source, sink);
  const int failure = ExpansionFailure(expansion, file, {});
  if (failure != kSuccess) return failure;
  const codec::szdd::Header& header = expansion.header;
  std::error_code unknown;
  const auto compressed = static_cast<unsigned long long>(fs::file_size(file, unknown));
  std::printf("%s: SZDD mode %c, name ends in '%c', %u bytes expanded, %llu bytes compressed\n",
              file.string().c_str(), header.mode, header.lastChar ? header.lastChar : '?',
              header.expandedLength, compressed);
  return kSuccess;
}

}  // namespace tools::szdd
