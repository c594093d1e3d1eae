#pragma once

#include <QString>
#include <exception>

namespace ravinel {

// What went wrong, for the user, in the language of the windows: the archive layer's and
// the plug-in host's messages translated (and those of their arguments that are texts of
// ours, such as a format's description), any other error's own text.
QString errorText(const std::exception& error);

}  // namespace ravinel
