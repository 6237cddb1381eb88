// The Z key's bomb: starts a bomb whenever bombs are in stock, whatever the
// scene or the ship's state.
#pragma once
void BombKey();
