#include "quillrt/collections/list_entries.h"

#include <cstddef>

#include "quillrt/collections/stream_forms.h"

namespace quill {

namespace {

// Packs fixed-width fields little-endian into one block, so a record goes to the
// stream in a single write.
template <std::size_t N>
class FieldWriter {
 public:
  template <class T>
  FieldWriter& Put(T value) {
    static_assert(sizeof(T) <= N);
    TStream::ToLE(value, bytes_ + used_);
    used_ += sizeof(T);
    return *this;
  }
  bool WriteTo(TStream& stream) const {
    return stream.Write(bytes_, static_cast<std::int64_t>(used_)) == static_cast<std::int64_t>(used_);
  }

 private:
  unsigned char bytes_[N] = {};
  std::size_t used_ = 0;
};

// Reads a block of N bytes at once and hands out its fields in order.
template <std::size_t N>
class FieldReader {
 public:
  bool ReadFrom(TStream& stream) { return stream.Read(bytes_, N) == static_cast<std::int64_t>(N); }
  template <class T>
  T Get() {
    const T value = TStream::FromLE<T>(bytes_ + used_);
    used_ += sizeof(T);
    return value;
  }

 private:
  unsigned char bytes_[N] = {};
  std::size_t used_ = 0;
};

// Reads a string field, turning a failure into false.
bool TryReadString(TStream& stream, UnicodeString& target) {
  try {
    target = ReadAString(stream);
    return true;
  } catch (const EStreamError&) {
    return false;
  }
}

}  // namespace

TLongIntHolder::~TLongIntHolder() = default;
bool TLongIntHolder::ReadFromStream(TStream& stream) {
  FieldReader<4> in;
  if (!in.ReadFrom(stream)) return false;
  data = in.Get<std::int32_t>();
  return true;
}
bool TLongIntHolder::SaveToStream(TStream& stream) const { return stream.TryWriteLE(data); }

TCardinalHolder::~TCardinalHolder() = default;
bool TCardinalHolder::ReadFromStream(TStream& stream) {
  FieldReader<4> in;
  if (!in.ReadFrom(stream)) return false;
  data = in.Get<std::uint32_t>();
  return true;
}
bool TCardinalHolder::SaveToStream(TStream& stream) const { return stream.TryWriteLE(data); }

TSingleHolder::~TSingleHolder() = default;
bool TSingleHolder::ReadFromStream(TStream& stream) {
  FieldReader<4> in;
  if (!in.ReadFrom(stream)) return false;
  data = in.Get<float>();
  return true;
}
bool TSingleHolder::SaveToStream(TStream& stream) const { return stream.TryWriteLE(data); }

TInt64Holder::~TInt64Holder() = default;
bool TInt64Holder::ReadFromStream(TStream& stream) {
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  data = in.Get<std::int64_t>();
  return true;
}
bool TInt64Holder::SaveToStream(TStream& stream) const { return stream.TryWriteLE(data); }

TIntegerAndSingleHolder::~TIntegerAndSingleHolder() = default;
bool TIntegerAndSingleHolder::ReadFromStream(TStream& stream) {
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  data.int_ = in.Get<std::int32_t>();
  data.s = in.Get<float>();
  return true;
}
bool TIntegerAndSingleHolder::SaveToStream(TStream& stream) const {
  return FieldWriter<8>().Put(data.int_).Put(data.s).WriteTo(stream);
}

TCardinalAndFreqHolder::~TCardinalAndFreqHolder() = default;
bool TCardinalAndFreqHolder::ReadFromStream(TStream& stream) {
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  data.c = in.Get<std::uint32_t>();
  data.f = in.Get<std::int32_t>();
  return true;
}
bool TCardinalAndFreqHolder::SaveToStream(TStream& stream) const {
  return FieldWriter<8>().Put(data.c).Put(data.f).WriteTo(stream);
}

TIntegerAnd3CardinalsHolder::~TIntegerAnd3CardinalsHolder() = default;
bool TIntegerAnd3CardinalsHolder::ReadFromStream(TStream& stream) {
  FieldReader<16> in;
  if (!in.ReadFrom(stream)) return false;
  data.freq = in.Get<std::int32_t>();
  data.value.card1 = in.Get<std::uint32_t>();
  data.value.card2 = in.Get<std::uint32_t>();
  data.value.card3 = in.Get<std::uint32_t>();
  return true;
}
bool TIntegerAnd3CardinalsHolder::SaveToStream(TStream& stream) const {
  return FieldWriter<16>().Put(data.freq).Put(data.value.card1).Put(data.value.card2).Put(data.value.card3).WriteTo(
      stream);
}

TStringColumnAndColourHolder::~TStringColumnAndColourHolder() = default;
std::unique_ptr<TStringColumnAndColourHolder> TStringColumnAndColourHolder::CreateBlank() {
  return std::make_unique<TStringColumnAndColourHolder>();
}
bool TStringColumnAndColourHolder::ReadFromStream(TStream& stream) {
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  TStringColumnAndColourRec value;
  value.column_number = in.Get<std::int32_t>();
  value.background_colour = in.Get<std::int32_t>();
  if (!TryReadString(stream, value.s)) return false;
  data = std::move(value);
  return true;
}
bool TStringColumnAndColourHolder::SaveToStream(TStream& stream) const {
  if (!FieldWriter<8>().Put(data.column_number).Put(data.background_colour).WriteTo(stream)) return false;
  return WriteAString(stream, data.s);
}

T2StringsAnd2IntegersHolder::~T2StringsAnd2IntegersHolder() = default;
bool T2StringsAnd2IntegersHolder::ReadFromStream(TStream& stream) {
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  T2StringsAnd2IntegersRec value;
  value.int1 = in.Get<std::int32_t>();
  value.int2 = in.Get<std::int32_t>();
  value.s1 = ReadAString(stream);  // a damaged string raises to the caller
  value.s2 = ReadAString(stream);
  data = std::move(value);
  return true;
}
bool T2StringsAnd2IntegersHolder::SaveToStream(TStream& stream) const {
  if (!FieldWriter<8>().Put(data.int1).Put(data.int2).WriteTo(stream)) return false;
  return WriteAString(stream, data.s1) && WriteAString(stream, data.s2);
}

T2LongIntHolder::~T2LongIntHolder() = default;
bool T2LongIntHolder::ReadFromStream(TStream& stream) {
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  data.long0 = in.Get<std::int32_t>();
  data.long1 = in.Get<std::int32_t>();
  return true;
}
bool T2LongIntHolder::SaveToStream(TStream& stream) const {
  return FieldWriter<8>().Put(data.long0).Put(data.long1).WriteTo(stream);
}

T3LongIntHolder::~T3LongIntHolder() = default;
bool T3LongIntHolder::ReadFromStream(TStream& stream) {
  FieldReader<12> in;
  if (!in.ReadFrom(stream)) return false;
  data.long0 = in.Get<std::int32_t>();
  data.long1 = in.Get<std::int32_t>();
  data.long2 = in.Get<std::int32_t>();
  return true;
}
bool T3LongIntHolder::SaveToStream(TStream& stream) const {
  return FieldWriter<12>().Put(data.long0).Put(data.long1).Put(data.long2).WriteTo(stream);
}

T4LongIntHolder::~T4LongIntHolder() = default;
bool T4LongIntHolder::ReadFromStream(TStream& stream) {
  FieldReader<16> in;
  if (!in.ReadFrom(stream)) return false;
  data.long0 = in.Get<std::int32_t>();
  data.long1 = in.Get<std::int32_t>();
  data.long2 = in.Get<std::int32_t>();
  data.long3 = in.Get<std::int32_t>();
  return true;
}
bool T4LongIntHolder::SaveToStream(TStream& stream) const {
  return FieldWriter<16>().Put(data.long0).Put(data.long1).Put(data.long2).Put(data.long3).WriteTo(stream);
}

TWordFreqAndSourceNumHolder::~TWordFreqAndSourceNumHolder() = default;
bool TWordFreqAndSourceNumHolder::ReadFromStream(TStream& stream) {
  TWordFreqAndSourceNum value;
  if (!TryReadString(stream, value.w)) return false;
  FieldReader<8> in;
  if (!in.ReadFrom(stream)) return false;
  value.f = in.Get<std::int32_t>();
  value.source_num = in.Get<std::int32_t>();
  data = std::move(value);
  return true;
}
bool TWordFreqAndSourceNumHolder::SaveToStream(TStream& stream) const {
  WriteAString(stream, data.w);
  return FieldWriter<8>().Put(data.f).Put(data.source_num).WriteTo(stream);
}

TDoublePointerHolder::~TDoublePointerHolder() = default;

}  // namespace quill
