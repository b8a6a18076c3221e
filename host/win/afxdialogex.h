// Part of the class library's window layer; everything is declared in afxwin.h.
#pragma once

#include "afxwin.h"
