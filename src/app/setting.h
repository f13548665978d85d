#ifndef QUILLMARK_APP_SETTING_H_
#define QUILLMARK_APP_SETTING_H_

// The process-wide flags from the command line. They are the starting values
// of the item options of the same names; a job file key overrides them per
// canvas.
struct Setting {
  bool adjustToFit;
  bool ignoreLineHeight;
};

// Written once by main before the job runs; read-only afterwards.
extern Setting setting;

// Sets the flags named by argv[3..argc-1] in *flags. An argument matches only
// when it equals "-adjustToFit" or "-ignoreLineHeight" exactly; everything
// else is ignored. No argument clears a flag.
void ReadFlags(int argc, const char* const* argv, Setting* flags);

#endif  // QUILLMARK_APP_SETTING_H_
