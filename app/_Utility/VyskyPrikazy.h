// Depths and slopes read from the height attributes of sewer blocks: vvs and vvvv.
#pragma once

// "vvs": the depth of a manhole from its "POKLOP" and "DNO" attributes.
void PrikazVvs();
// "vvvv": the slope between two blocks with a "DNO" attribute, or one of their heights from a
// given slope.
void PrikazVvvv();
