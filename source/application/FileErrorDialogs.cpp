#include "application/FileErrorDialogs.h"

#include "application/CPXRResource.h"

#include <iostream>

namespace x38200_application
{
// Until the alert box exists the texts go to standard error.
void showFileReadErrorDialog (const int& code)
{
    std::cerr << getLocalizedString ("CommonErrorDialogTitle") << ": file read error " << code << std::endl;
}

void showFileWriteErrorDialog (const int& code)
{
    std::cerr << getLocalizedString ("CommonErrorDialogTitle") << ": file write error " << code << std::endl;
}
} // namespace x38200_application
