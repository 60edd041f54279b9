#include "application/FileErrorDialogs.h"

#include "application/CPXRResource.h"
#include "file/LibraryFiles.h"

#include <iostream>

namespace x38200_application
{
// Until the alert box exists the texts go to standard error.
void showFileReadErrorDialog (const int& code)
{
    std::cerr << getLocalizedString ("CommonErrorDialogTitle") << ": " << x38200_file::getReadErrorString (code) << std::endl;
}

void showFileWriteErrorDialog (const int& code)
{
    std::cerr << getLocalizedString ("CommonErrorDialogTitle") << ": " << x38200_file::getWriteErrorString (code) << std::endl;
}
} // namespace x38200_application
