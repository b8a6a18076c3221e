// What the evaluator uses from the editor (documents, system variables) and the database
// (the report of objects left open).
#pragma once

#include "acedads.h"
#include "dbhost.h"
#include "edhost.h"
#include "lispapi.h"
