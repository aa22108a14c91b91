#pragma once
// The link class's module for the program's start-up list: it announces the REGION kind,
// which the companion regions of string and prompt links are created as at run time.
#include "platform/rt/module.h"

rt::Module LinksModule();
