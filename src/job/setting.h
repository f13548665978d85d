#ifndef QUILLMARK_JOB_SETTING_H_
#define QUILLMARK_JOB_SETTING_H_

// The process-wide flags from the command line. They are the starting values
// of the item options of the same names; a job file key overrides them per
// canvas.
struct Setting {
  bool adjustToFit;
  bool ignoreLineHeight;
};

// The process-wide record, for callers that use the documented name: main
// writes it once, and draw() starts its canvases from it. The run itself
// takes its flags as a value (RunOptions::flags) and never reads it.
extern Setting setting;

#endif  // QUILLMARK_JOB_SETTING_H_
