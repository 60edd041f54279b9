#pragma once

namespace x38200_application
{
// The start-up steps, run on the message thread in this order by the application.
void initializePlatformSpecifics();
void initializeApplication();
void initializePreferences();
void initializeSingletonObjects();
void finalizeApplication();
} // namespace x38200_application
