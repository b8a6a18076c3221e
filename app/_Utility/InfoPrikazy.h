// Commands that inform about entities.
#pragma once

// "pokus": registered for trying things out; returns at once.
void PrikazPokus();
