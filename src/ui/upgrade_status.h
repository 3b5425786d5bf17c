#pragma once

// The window shows the run's status codes; they belong to the run.
#include "upgrade/run_status.h"
