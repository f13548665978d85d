#include "render/metrics/metrics_cache.h"

#include <cstring>

const char kProbeText[] = "Hgy|\xE5\x9B\xBD";  // with a CJK character

namespace {

// Far more than any real job needs; about 150 MB at most.
constexpr size_t kMaxEntries = size_t{1} << 20;

bool SameMetrics(const FontMetrics& a, const FontMetrics& b) {
  return std::memcmp(&a, &b, sizeof(FontMetrics)) == 0;
}

}  // namespace

MetricsCache::Table& MetricsCache::TableFor(int space, int size) {
  uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(space)) << 32) |
                 static_cast<uint32_t>(size);
  return tables_[key];
}

int MetricsCache::KnownSpace(const std::string& classKey) const {
  auto known = classes_.find(classKey);
  return known == classes_.end() ? -1 : known->second.space;
}

int MetricsCache::SpaceFor(const std::string& fontKey,
                           const std::string& classKey, int size,
                           const FontMetrics& probe) {
  auto known = classes_.find(classKey);
  if (known != classes_.end())
    return known->second.space;
  int space = -1;
  for (const auto& entry : classes_) {
    const ClassInfo& other = entry.second;
    if (other.fontKey == fontKey && other.probeSize == size &&
        SameMetrics(other.probe, probe)) {
      space = other.space;
      break;
    }
  }
  if (space < 0)
    space = nextSpace_++;
  classes_[classKey] = {fontKey, size, probe, space};
  return space;
}

void MetricsCache::Added() {
  if (++entries_ > kMaxEntries)
    Clear();
}

void MetricsCache::Clear() {
  classes_.clear();
  tables_.clear();
  entries_ = 0;
}

void CachedMetrics::SetFontSize(int size) {
  measure_->SetFontSize(size);
  size_ = size;
}

bool CachedMetrics::Measure(const std::string& text, FontMetrics* out) {
  if (space_ < 0)
    space_ = cache_->KnownSpace(classKey_);
  if (space_ < 0) {
    FontMetrics probe;
    if (!measure_->Measure(kProbeText, &probe))
      return false;
    space_ = cache_->SpaceFor(fontKey_, classKey_, size_, probe);
  }
  MetricsCache::Table& table = cache_->TableFor(space_, size_);
  auto hit = table.find(text);
  if (hit != table.end()) {
    *out = hit->second;
    return true;
  }
  if (!measure_->Measure(text, out))
    return false;
  table.emplace(text, *out);
  cache_->Added();
  return true;
}
