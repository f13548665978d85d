#ifndef QUILLMARK_JOB_SETTING_H_
#define QUILLMARK_JOB_SETTING_H_

// The process-wide flags from the command line. They are the starting values
// of the item options of the same names; a job file key overrides them per
// canvas.
struct Setting {
  bool adjustToFit;
  bool ignoreLineHeight;
};

// Written once by main before the job runs; read-only afterwards.
extern Setting setting;

#endif  // QUILLMARK_JOB_SETTING_H_
