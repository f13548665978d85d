#ifndef QUILLMARK_RENDER_MAGICK_INSTALLED_CONFIGURATION_H_
#define QUILLMARK_RENDER_MAGICK_INSTALLED_CONFIGURATION_H_

#include <string>

// The folder that `cmake --install` fills with the configuration files of
// the ImageMagick the binary was built with (its messages, colours, ...):
// "<folder of the binary>/../lib/quillmark/ImageMagick/", or "" when there
// is none, as in the build tree or with the system's ImageMagick.
std::string InstalledMagickConfiguration();

// Makes ImageMagick read its configuration from that folder, after those
// MAGICK_CONFIGURE_PATH already names: an installed tree works wherever it
// is copied, without the folder it was built in. Does nothing without it.
// Call before anything else of ImageMagick.
void UseInstalledMagickConfiguration();

#endif  // QUILLMARK_RENDER_MAGICK_INSTALLED_CONFIGURATION_H_
