/* The controller: start, run modes, refusals, the end of a run. */
#ifndef CONTROLLER_H
#define CONTROLLER_H

#include "refusals.h"
#include "silent_mode.h"
#include "../shared/product_keys.h"
#include "../shared/script_loader.h"

/* 1 when the command-line tail selects DriverOnlyMode ("-u" and anything after it). */
int IsDriverOnlyCommand(const char *tail);

#endif
