#include "job_sets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "job/job_reader.h"

namespace {

// Every canvas of `set` as Quillmark reads it; fails the test on a canvas
// that is skipped, has a "ui" member ignored or a key Quillmark does not
// know.
std::vector<TextInfo> ReadSet(const JobSet& set) {
  std::vector<TextInfo> canvases;
  rapidjson::Document job;
  if (!ParseJob(set.jobText, &job)) {
    ADD_FAILURE() << set.name << " does not parse";
    return canvases;
  }
  for (rapidjson::SizeType i = 0; i < job.Size(); ++i) {
    CanvasRead read = ReadCanvas(job[i], Setting(), 1.0f);
    EXPECT_TRUE(read.drawable()) << set.name << " canvas " << i;
    EXPECT_EQ(ReadingMessages(static_cast<int>(i), read),
              std::vector<std::string>())
        << set.name << " canvas " << i;
    EXPECT_TRUE(read.unknownUiKeys.empty()) << set.name << " canvas " << i;
    canvases.push_back(read.info);
  }
  return canvases;
}

JobSet Make(const std::string& name, int count) {
  JobSet set;
  EXPECT_TRUE(MakeJobSet(name, count, &set)) << name;
  return set;
}

TEST(JobSets, EverySetReadsCleanlyWithItsCount) {
  for (const std::string& name : JobSetNames()) {
    JobSet set = Make(name, 7);
    EXPECT_EQ(set.name, name);
    EXPECT_EQ(set.canvases, 7);
    EXPECT_EQ(ReadSet(set).size(), 7u) << name;
  }
  JobSet unknown;
  EXPECT_FALSE(MakeJobSet("banner", 3, &unknown));
}

// The kinds of work each set stands for: the Pillow comparison is only fair
// if Quillmark is given the outline, shadow and fitting the sets promise.
TEST(JobSets, SetsHoldTheWorkTheyAreNamedFor) {
  for (const TextInfo& c : ReadSet(Make("vertical-fit", 30))) {
    EXPECT_NE(c.direction, 0);
    EXPECT_TRUE(c.adjustToFit);
    EXPECT_EQ(c.fontSize, 120);
    EXPECT_FALSE(c.strokeColor.empty());
    EXPECT_GE(c.strokeWidth, 2);
    EXPECT_LE(c.strokeWidth, 4);
    EXPECT_GE(c.shadowSize, 2);
    EXPECT_LE(c.shadowSize, 4);
    EXPECT_GE(c.shadowAlpha, 0.4f);
    EXPECT_LE(c.shadowAlpha, 0.6f);
  }
  int overFill = 0;
  for (const TextInfo& c : ReadSet(Make("vertical-fit", 30))) overFill += c.strokeOverFill;
  EXPECT_GT(overFill, 0);   // both orders of outline and fill occur
  EXPECT_LT(overFill, 30);

  for (const TextInfo& c : ReadSet(Make("banners", 10))) {
    EXPECT_EQ(c.direction, 0);
    EXPECT_TRUE(c.adjustToFit);
    EXPECT_FALSE(c.strokeOverFill);
    EXPECT_GT(c.strokeWidth, 0);
    EXPECT_GT(c.shadowSize, 0);
    EXPECT_GT(c.shadowAlpha, 0);
  }
  for (const TextInfo& c : ReadSet(Make("plain", 50))) {
    EXPECT_EQ(c.direction, 0);
    EXPECT_FALSE(c.adjustToFit);
    EXPECT_EQ(c.strokeWidth, 0);
    EXPECT_EQ(c.shadowSize, 0);
    EXPECT_GE(c.text.size(), 5u);
  }
}

// The quick run renders the first canvases of the full one, whatever other
// sets are made, and every run the same ones.
TEST(JobSets, ASmallerCountGivesTheFirstCanvasesOfALargerOne) {
  for (const std::string& name : JobSetNames()) {
    JobSet small = Make(name, 3), large = Make(name, 40);
    Make("plain", 100);  // making another set changes nothing
    JobSet again = Make(name, 40);
    EXPECT_EQ(large.jobText, again.jobText) << name;
    std::string head = small.jobText.substr(0, small.jobText.rfind("}}") + 2);
    EXPECT_EQ(large.jobText.compare(0, head.size(), head), 0) << name;
    EXPECT_EQ(large.jobText.substr(head.size(), 2), ",\n") << name;
  }
}

std::string Describe(const std::vector<SetCount>& counts) {
  std::string text;
  for (const SetCount& c : counts) text += c.name + "=" + std::to_string(c.count) + " ";
  return text;
}

TEST(JobSets, CountsChangeAddAndDropSetsInRenderingOrder) {
  std::vector<SetCount> counts = PeerCounts();
  EXPECT_EQ(Describe(counts), "banners=100 vertical-fit=40 plain=100 ");
  EXPECT_EQ(Describe(InProcessCounts(3)),
            "banners=6 vertical-fit=6 vertical=12 plain=300 ");

  ASSERT_TRUE(ApplyCounts("plain=10,vertical=2,banners=0,vertical-fit=4", &counts));
  EXPECT_EQ(Describe(counts), "vertical-fit=4 vertical=2 plain=10 ");
  ASSERT_TRUE(ApplyCounts("plain=7,plain=8", &counts));  // the last one counts
  EXPECT_EQ(Describe(counts), "vertical-fit=4 vertical=2 plain=8 ");

  for (const char* bad : {"plain", "plain=", "plain=-1", "plain=1x", "plain=1000001",
                          "plain=99999999999", "labels=3", ",plain=3", "=3"}) {
    std::vector<SetCount> unchanged = counts;
    EXPECT_FALSE(ApplyCounts(bad, &unchanged)) << bad;
    EXPECT_EQ(Describe(unchanged), Describe(counts)) << bad;
  }
}

}  // namespace
