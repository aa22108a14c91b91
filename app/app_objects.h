#pragma once
// The application's process-wide framework objects, built at module start-up and destroyed
// at module shutdown.
#include <memory>

#include "app/ini_manager.h"
#include "platform/framework/error_class.h"
#include "platform/framework/error_status_class.h"

extern std::unique_ptr<ErrorClass> GlobalErrors;
extern std::unique_ptr<INIMGR> INIMgr;

// The settings file, in the current directory at start-up.
inline constexpr const char* kSettingsFile = "./settings.ini";
