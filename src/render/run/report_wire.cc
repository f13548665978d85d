#include "render/run/report_wire.h"

#include <cstdint>
#include <cstring>

namespace {

class Writer {
 public:
  void U32(uint32_t v) { Raw(&v, sizeof(v)); }
  void I32(int32_t v) { Raw(&v, sizeof(v)); }
  void F64(double v) { Raw(&v, sizeof(v)); }
  void Str(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    out_.append(s);
  }
  std::string Take() { return std::move(out_); }

 private:
  void Raw(const void* p, size_t n) {
    out_.append(static_cast<const char*>(p), n);
  }
  std::string out_;
};

class Reader {
 public:
  explicit Reader(const std::string& in) : in_(in) {}
  bool U32(uint32_t* v) { return Raw(v, sizeof(*v)); }
  bool I32(int32_t* v) { return Raw(v, sizeof(*v)); }
  bool F64(double* v) { return Raw(v, sizeof(*v)); }
  bool Str(std::string* s) {
    uint32_t n;
    if (!U32(&n) || n > in_.size() - at_)
      return false;
    s->assign(in_, at_, n);
    at_ += n;
    return true;
  }
  // A count of items that each take at least `minBytes`.
  bool Count(uint32_t* n, size_t minBytes) {
    return U32(n) && *n <= (in_.size() - at_) / minBytes;
  }
  bool AtEnd() const { return at_ == in_.size(); }

 private:
  bool Raw(void* p, size_t n) {
    if (n > in_.size() - at_)
      return false;
    std::memcpy(p, in_.data() + at_, n);
    at_ += n;
    return true;
  }
  const std::string& in_;
  size_t at_ = 0;
};

void Strings(Writer* w, const std::vector<std::string>& list) {
  w->U32(static_cast<uint32_t>(list.size()));
  for (const std::string& s : list)
    w->Str(s);
}

bool Strings(Reader* r, std::vector<std::string>* list) {
  uint32_t n;
  if (!r->Count(&n, 4))
    return false;
  list->resize(n);
  for (std::string& s : *list)
    if (!r->Str(&s))
      return false;
  return true;
}

}  // namespace

std::string EncodeReport(const RenderReport& report) {
  Writer w;
  w.I32(static_cast<int32_t>(report.failure));
  w.Str(report.failureDetail);
  w.I32(report.fontSize);
  w.U32(static_cast<uint32_t>(report.lines.size()));
  for (const PlacedLine& line : report.lines) {
    w.Str(line.text);
    w.F64(line.x);
    w.F64(line.y);
  }
  Strings(&w, report.overflow);
  Strings(&w, report.missingGlyphs);
  w.U32(static_cast<uint32_t>(report.badColours.size()));
  for (const BadColour& colour : report.badColours) {
    w.Str(colour.key);
    w.Str(colour.value);
  }
  w.F64(report.seconds);
  w.U32(static_cast<uint32_t>(report.runs.size()));
  for (const std::vector<PlacedRun>& runs : report.runs) {
    w.U32(static_cast<uint32_t>(runs.size()));
    for (const PlacedRun& run : runs) {
      w.Str(run.text);
      w.Str(run.font);
      w.F64(run.x);
      w.F64(run.y);
    }
  }
  return w.Take();
}

bool DecodeReport(const std::string& bytes, RenderReport* report) {
  Reader r(bytes);
  int32_t failure;
  uint32_t n;
  if (!r.I32(&failure) || failure < 0 ||
      failure > static_cast<int32_t>(Failure::kStopped))
    return false;
  report->failure = static_cast<Failure>(failure);
  if (!r.Str(&report->failureDetail) || !r.I32(&report->fontSize) ||
      !r.Count(&n, 20))
    return false;
  report->lines.resize(n);
  for (PlacedLine& line : report->lines)
    if (!r.Str(&line.text) || !r.F64(&line.x) || !r.F64(&line.y))
      return false;
  if (!Strings(&r, &report->overflow) || !Strings(&r, &report->missingGlyphs) ||
      !r.Count(&n, 8))
    return false;
  report->badColours.resize(n);
  for (BadColour& colour : report->badColours)
    if (!r.Str(&colour.key) || !r.Str(&colour.value))
      return false;
  if (!r.F64(&report->seconds) || !r.Count(&n, 4))
    return false;
  report->runs.resize(n);
  for (std::vector<PlacedRun>& runs : report->runs) {
    if (!r.Count(&n, 24))
      return false;
    runs.resize(n);
    for (PlacedRun& run : runs)
      if (!r.Str(&run.text) || !r.Str(&run.font) || !r.F64(&run.x) ||
          !r.F64(&run.y))
        return false;
  }
  return r.AtEnd();
}
