#include "render/text/shaped_layout.h"

#include <functional>

#include "render/layout/horizontal_layout.h"
#include "render/layout/vertical_layout.h"
#include "render/typography/block_placement.h"
#include "render/typography/typography.h"
#include "render/typography/wrapped_columns.h"
#include "render/typography/wrapped_lines.h"
#include "util/utf8.h"

std::vector<UnitBreak> ClusterBreaks(
    const std::vector<std::string>& clusters) {
  std::vector<std::string> characters;
  std::vector<size_t> first;  // each cluster's first character
  for (const std::string& cluster : clusters) {
    first.push_back(characters.size());
    for (size_t i = 0; i < cluster.size();) {
      const size_t n = CharacterLength(cluster, i);
      characters.push_back(cluster.substr(i, n));
      i += n;
    }
  }
  const std::vector<UnitBreak> byCharacter = FindLineBreaks(characters);
  std::vector<UnitBreak> breaks(clusters.size());
  for (size_t k = 0; k < clusters.size(); ++k) {
    const size_t end = k + 1 < clusters.size() ? first[k + 1]
                                               : characters.size();
    if (end == first[k])
      continue;  // an empty cluster: never made by Itemize
    breaks[k] = byCharacter[first[k]];
    breaks[k].after = byCharacter[end - 1].after;
  }
  return breaks;
}

namespace {

// The typography of a shaped item over its plain layout: "wrap" by
// `wrapped`, else "min_size" over `plain`; then "valign".
Layout Typeset(const TextInfo& info, MetricsSource* metrics,
               const std::function<Layout(const TextInfo&)>& plain,
               const std::function<Layout()>& wrapped) {
  if (!UsesTypography(info))
    return plain(info);
  Layout layout =
      info.wrapWords ? wrapped() : LayOutWithSmallestSize(info, plain);
  if (!AlignBlock(info, metrics, &layout)) {
    layout.annotations.clear();
    layout.metricsFailed = true;
  }
  return layout;
}

}  // namespace

Layout LayOutShapedLines(const TextInfo& info, bool rtl, float topInset,
                         const std::vector<std::string>& clusters,
                         MetricsSource* metrics) {
  TextInfo item = info;
  if (rtl && item.alignment != kAlignCentre)
    item.alignment = item.alignment == kAlignEnd ? kAlignStart : kAlignEnd;
  return Typeset(
      item, metrics,
      [&](const TextInfo& sized) {
        return LayOutHorizontal(sized, topInset, clusters, metrics);
      },
      [&] {
        return LayOutWrappedLines(item, topInset, clusters,
                                  ClusterBreaks(clusters), metrics);
      });
}

Layout LayOutShapedColumns(const TextInfo& info, float topInset,
                           const std::vector<std::string>& clusters,
                           MetricsSource* metrics) {
  return Typeset(
      info, metrics,
      [&](const TextInfo& sized) {
        return LayOutVertical(sized, topInset, clusters, metrics);
      },
      [&] {
        return LayOutWrappedColumns(info, topInset, clusters,
                                    ClusterBreaks(clusters), metrics, false);
      });
}
