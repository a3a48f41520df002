#include "quillfs/chunk_manifest.h"

#include <openssl/evp.h>

#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/dynamic_library.h"

#ifndef QUILL_LIBCRYPTO_SONAME
#error "QUILL_LIBCRYPTO_SONAME names the libcrypto to load (set by the build)"
#endif

namespace quill {

// ---- TSha256 ----------------------------------------------------------------

namespace {

// libcrypto's digest functions, loaded when the first digest is made rather
// than linked: the library is megabytes that every start of every program
// using this one would load, and only the chunker needs it.
#define QUILL_CRYPTO_FUNCTIONS(X) \
  X(EVP_MD_CTX_new) X(EVP_MD_CTX_free) X(EVP_DigestInit_ex) X(EVP_sha256) X(EVP_DigestUpdate) X(EVP_DigestFinal_ex)

struct CryptoLibrary {
#define QUILL_CRYPTO_POINTER(name) decltype(&::name) name = nullptr;
  QUILL_CRYPTO_FUNCTIONS(QUILL_CRYPTO_POINTER)
#undef QUILL_CRYPTO_POINTER
};

CryptoLibrary LoadCrypto() {
  static constexpr const char* kNames[] = {
#define QUILL_CRYPTO_NAME(name) #name,
      QUILL_CRYPTO_FUNCTIONS(QUILL_CRYPTO_NAME)
#undef QUILL_CRYPTO_NAME
  };
  std::string reason;
  const std::optional<std::vector<void*>> addresses = LoadLibraryForGood(QUILL_LIBCRYPTO_SONAME, kNames, reason);
  if (!addresses)
    throw EInOutError(u"SHA-256 needs " QUILL_LIBCRYPTO_SONAME ", which could not be loaded: " +
                      Utf8ToUtf16(reason));
  CryptoLibrary library;
  std::size_t next = 0;
#define QUILL_CRYPTO_TAKE(name) library.name = reinterpret_cast<decltype(library.name)>((*addresses)[next++]);
  QUILL_CRYPTO_FUNCTIONS(QUILL_CRYPTO_TAKE)
#undef QUILL_CRYPTO_TAKE
  return library;
}

// Loads once; a failed load is tried again (and reported again) next time.
const CryptoLibrary& Crypto() {
  static const CryptoLibrary library = LoadCrypto();
  return library;
}

}  // namespace

struct TSha256::State {
  struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { Crypto().EVP_MD_CTX_free(context); }
  };
  std::unique_ptr<EVP_MD_CTX, ContextFree> context{Crypto().EVP_MD_CTX_new()};
  bool started = false;
};

TSha256::TSha256() : state_(std::make_unique<State>()) {
  if (!state_->context) throw EInOutError(u"SHA-256 is not available (cannot create a digest context)");
}

TSha256::~TSha256() = default;

void TSha256::Add(const void* data, std::size_t count) {
  if (!state_->started) {
    if (Crypto().EVP_DigestInit_ex(state_->context.get(), Crypto().EVP_sha256(), nullptr) != 1) {
      throw EInOutError(u"SHA-256 is not available (cannot start a digest)");
    }
    state_->started = true;
  }
  if (count > 0 && Crypto().EVP_DigestUpdate(state_->context.get(), data, count) != 1) {
    throw EInOutError(u"SHA-256 digest failed");
  }
}

std::string TSha256::HexDigest() {
  Add(nullptr, 0);  // an empty input still has a digest
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (Crypto().EVP_DigestFinal_ex(state_->context.get(), digest, &length) != 1) throw EInOutError(u"SHA-256 digest failed");
  state_->started = false;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 0x0F];
  }
  return text;
}

// ---- the manifest file ------------------------------------------------------

namespace {

constexpr std::string_view kFirstLine = "quill chunk manifest 1";
// A manifest of the largest possible set is far smaller than this.
constexpr std::int64_t kMaxManifestBytes = 256LL * 1024 * 1024;

bool IsDigest(std::string_view text) {
  if (text.size() != 64) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// "<kind> <size> <sha256> <name>"
bool ParseEntry(std::string_view line, std::string_view kind, TManifestEntry& entry) {
  if (line.size() <= kind.size() || line.substr(0, kind.size()) != kind || line[kind.size()] != ' ') return false;
  line.remove_prefix(kind.size() + 1);
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), entry.Size);
  if (error != std::errc() || entry.Size < 0 || end == line.data() || *line.data() == '-') return false;
  line.remove_prefix(static_cast<std::size_t>(end - line.data()));
  if (line.size() < 66 || line[0] != ' ' || line[65] != ' ') return false;
  entry.Sha256 = std::string(line.substr(1, 64));
  if (!IsDigest(entry.Sha256)) return false;
  line.remove_prefix(66);
  if (line.empty() || line.find('/') != std::string_view::npos) return false;
  entry.Name = Utf8ToUtf16(line);
  return true;
}

std::string EntryLine(std::string_view kind, const TManifestEntry& entry) {
  return std::string(kind) + " " + std::to_string(entry.Size) + " " + entry.Sha256 + " " + Utf16ToUtf8(entry.Name) +
         "\n";
}

}  // namespace

UnicodeString ChunkManifestFileName(const UnicodeString& first_chunk_name) { return first_chunk_name + u".sha256"; }

std::string ChunkManifestText(const TChunkManifest& manifest) {
  std::string text = std::string(kFirstLine) + "\n" + EntryLine("source", manifest.Source);
  for (const TManifestEntry& chunk : manifest.Chunks) text += EntryLine("chunk", chunk);
  return text;
}

bool ParseChunkManifest(std::string_view text, TChunkManifest& manifest, UnicodeString& problem) {
  manifest = TChunkManifest{};
  std::size_t line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      problem = u"the manifest's last line is cut short";
      return false;
    }
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    ++line_number;
    bool ok = false;
    if (line_number == 1) {
      ok = line == kFirstLine;
    } else if (line_number == 2) {
      ok = ParseEntry(line, "source", manifest.Source);
    } else {
      TManifestEntry chunk;
      ok = ParseEntry(line, "chunk", chunk);
      if (ok) manifest.Chunks.push_back(std::move(chunk));
    }
    if (!ok) {
      problem = u"line " + IntToStr(static_cast<std::int64_t>(line_number)) + u" of the manifest is damaged";
      return false;
    }
  }
  if (manifest.Chunks.empty()) {
    problem = u"the manifest lists no chunks";
    return false;
  }
  return true;
}

void SaveChunkManifest(const UnicodeString& file_name, const TChunkManifest& manifest) {
  const std::string text = ChunkManifestText(manifest);
  WriteFileAtomically(file_name, [&text](TStream& out) {
    out.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    return true;
  });
}

bool LoadChunkManifest(const UnicodeString& file_name, TChunkManifest& manifest, UnicodeString& problem) {
  TFileStream in(file_name, fmOpenRead | fmShareDenyWrite);
  const std::int64_t size = in.GetSize();
  if (size > kMaxManifestBytes) {
    problem = u"the manifest is far too large for a chunk set";
    return false;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  in.ReadBuffer(text.data(), size);
  return ParseChunkManifest(text, manifest, problem);
}

}  // namespace quill
