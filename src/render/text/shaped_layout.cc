#include "render/text/shaped_layout.h"

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

Layout LayOutShapedLines(const TextInfo& info, bool rtl, float topInset,
                         const std::vector<std::string>& clusters,
                         MetricsSource* metrics) {
  TextInfo item = info;
  if (rtl && item.alignment != kAlignCentre)
    item.alignment = item.alignment == kAlignEnd ? kAlignStart : kAlignEnd;
  if (!UsesTypography(item))
    return LayOutHorizontal(item, topInset, clusters, metrics);
  Layout layout;
  if (item.wrapWords) {
    layout = LayOutWrappedLines(item, topInset, clusters,
                                ClusterBreaks(clusters), metrics);
  } else {
    layout = LayOutWithSmallestSize(item, [&](const TextInfo& sized) {
      return LayOutHorizontal(sized, topInset, clusters, metrics);
    });
  }
  if (!AlignBlock(item, metrics, &layout)) {
    layout.annotations.clear();
    layout.metricsFailed = true;
  }
  return layout;
}

Layout LayOutShapedColumns(const TextInfo& info, float topInset,
                           const std::vector<std::string>& clusters,
                           MetricsSource* metrics) {
  if (!UsesTypography(info))
    return LayOutVertical(info, topInset, clusters, metrics);
  Layout layout;
  if (info.wrapWords) {
    layout = LayOutWrappedColumns(info, topInset, clusters,
                                  ClusterBreaks(clusters), metrics, false);
  } else {
    layout = LayOutWithSmallestSize(info, [&](const TextInfo& sized) {
      return LayOutVertical(sized, topInset, clusters, metrics);
    });
  }
  if (!AlignBlock(info, metrics, &layout)) {
    layout.annotations.clear();
    layout.metricsFailed = true;
  }
  return layout;
}
