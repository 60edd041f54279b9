#pragma once

namespace x38200_application
{
// The two standard boxes that every file operation uses to report a failure.
void showFileReadErrorDialog (const int& code);
void showFileWriteErrorDialog (const int& code);
} // namespace x38200_application
