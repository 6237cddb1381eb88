// The last boss arrives with its own work. It is made by Lastboss but
// does nothing yet: until its update is written here it neither moves,
// fires, is drawn nor dies.
#include "boss/boss.h"

void LastBossPass() {}  // LBOSS, the last boss (entries 0..4)
