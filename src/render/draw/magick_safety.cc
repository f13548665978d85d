#include "render/draw/magick_safety.h"

#include <MagickWand/MagickWand.h>

#include <string>

#include "job/job_reader.h"
#include "render/output/output_formats.h"

namespace {

// Later entries override earlier ones: deny everything of a kind, then allow
// the few that are used.
std::string Policy() {
  return R"(<policymap>
  <policy domain="delegate" rights="none" pattern="*"/>
  <policy domain="coder" rights="none" pattern="*"/>
  <policy domain="coder" rights="write" pattern=")" +
         OutputFormatPattern() + R"("/>
  <policy domain="path" rights="none" pattern="-"/>
  <policy domain="path" rights="none" pattern="fd:*"/>
  <policy domain="path" rights="none" pattern="@*"/>
  <policy domain="path" rights="none" pattern="|*"/>
</policymap>)";
}

}  // namespace

bool ApplyMagickSafety(int threads) {
  // Instantiates the policy cache, which the policy below is appended to.
  MagickRelinquishMemory(GetPolicyValue("resource:disk"));
  ExceptionInfo* exception = AcquireExceptionInfo();
  bool ok = SetMagickSecurityPolicy(Policy().c_str(), exception) == MagickTrue;
  DestroyExceptionInfo(exception);
  ok &= SetMagickResourceLimit(WidthResource, kMaxCanvasSide) == MagickTrue;
  ok &= SetMagickResourceLimit(HeightResource, kMaxCanvasSide) == MagickTrue;
  // A pixel cache that does not fit in memory fails instead of spilling
  // gigabytes to disk.
  ok &= SetMagickResourceLimit(DiskResource, 0) == MagickTrue;
  if (threads > 0)
    ok &= SetMagickResourceLimit(ThreadResource,
                                 static_cast<MagickSizeType>(threads)) ==
          MagickTrue;
  return ok;
}
