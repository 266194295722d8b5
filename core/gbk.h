#pragma once
// The GBK codec lives at the toolkit boundary (app/gbk.h); the register logic
// itself holds its texts as GBK bytes and never converts.
#include "app/gbk.h"
