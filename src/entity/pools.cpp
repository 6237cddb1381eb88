// Storage of every pool, and claiming and clearing slots.
#include "entity/entity.h"

SpriteData P_Ship;
SpriteData SHOTFLG;

SpriteData P_Shot[P_SHOT_MAX];
SpriteData P_Shot2[P_SHOT_MAX];
SpriteData P_Shot3[P_SHOT_MAX];
SpriteData P_Shot4[P_SHOT_MAX];
SpriteData P_Shot5[P_SHOT_MAX];
SpriteData jewel[JEWEL_MAX];
SpriteData pitem[PITEM_MAX];
SpriteData Shield[SHIELD_MAX];
SpriteData cry[CRY_MAX];

SpriteData Enemy[ENEMY_MAX];
SpriteData Enemy2[ENEMY_MAX];
SpriteData Enemy3[ENEMY_MAX];
SpriteData Enemy4[ENEMY_MAX];
SpriteData Enemy5[ENEMY_MAX];
SpriteData Enemy6[ENEMY_MAX];
SpriteData Enemy7[ENEMY_MAX];
SpriteData Enemy8[ENEMY_MAX];
SpriteData Enemy9[ENEMY_MAX];
SpriteData Enemy10[ENEMY_MAX];
SpriteData Enemy11[ENEMY_MAX];
SpriteData HARO[ENEMY_MAX];
SpriteData BEnemy[BENEMY_MAX];
SpriteData BEnemy2[BENEMY_MAX];
SpriteData BEnemy3[BENEMY_MAX];
SpriteData BEnemy4[BENEMY_MAX];

SpriteData chuugata[CHUUGATA_MAX];
SpriteData chuugata2[CHUUGATA_MAX];
SpriteData chuugata3[CHUUGATA_MAX];
SpriteData chuugata4[CHUUGATA_MAX];
SpriteData chuugata5[CHUUGATA_MAX];
SpriteData chuugata6[CHUUGATA_MAX];
SpriteData chuugata7[CHUUGATA_MAX];
SpriteData chuugata8[CHUUGATA_MAX];
SpriteData chuugata9[CHUUGATA_MAX];

SpriteData bit[BIT_MAX];
SpriteData BOSS1[BOSS_MAX];
SpriteData BOSS2[BOSS_MAX];
SpriteData BOSS3[BOSS_MAX];
SpriteData BOSS4[BOSS_MAX];
SpriteData BOSS5[BOSS_MAX];
SpriteData LBOSS[BOSS_MAX];

SpriteData tama[TAMA_MAX];
SpriteData Baka[BAKA_MAX];
SpriteData sLaser[SLASER_MAX];
SpriteData sLaser2[SLASER_MAX];
SpriteData BLaser[BLASER_MAX];
SpriteData flash[FLASH_MAX];
SpriteData line[LINE_MAX];

SpriteData Bom[BOM_MAX];
SpriteData Bom2[BOM_MAX];
SpriteData Bom3[BOM_MAX];
SpriteData Pom[POM_MAX];
SpriteData gomi[GOMI_MAX];
SpriteData hosi[HOSI_MAX];
SpriteData kumo[KUMO_MAX];

FONT JEWELFONT[JEWELFONT_MAX];

SpriteData* SpriteClaimSlot(SpriteData* pool, int count) {
    for (int i = 0; i < count; i++) {
        if (!pool[i].flag) {
            pool[i].flag = true;
            return &pool[i];
        }
    }
    return nullptr;
}

FONT* FontClaimSlot(FONT* pool, int count) {
    for (int i = 0; i < count; i++) {
        if (!pool[i].flag) {
            pool[i].flag = true;
            return &pool[i];
        }
    }
    return nullptr;
}

template <size_t N>
static void ClearFlags(SpriteData (&pool)[N]) {
    for (size_t i = 0; i < N; i++) pool[i].flag = false;
}

void SpriteClearAll() {
    ClearFlags(P_Shot); ClearFlags(P_Shot2); ClearFlags(P_Shot3);
    ClearFlags(P_Shot4); ClearFlags(P_Shot5);
    ClearFlags(jewel); ClearFlags(pitem); ClearFlags(Shield); ClearFlags(cry);
    ClearFlags(Enemy); ClearFlags(Enemy2); ClearFlags(Enemy3); ClearFlags(Enemy4);
    ClearFlags(Enemy5); ClearFlags(Enemy6); ClearFlags(Enemy7); ClearFlags(Enemy8);
    ClearFlags(Enemy9); ClearFlags(Enemy10); ClearFlags(Enemy11); ClearFlags(HARO);
    ClearFlags(BEnemy); ClearFlags(BEnemy2); ClearFlags(BEnemy3); ClearFlags(BEnemy4);
    ClearFlags(chuugata); ClearFlags(chuugata2); ClearFlags(chuugata3);
    ClearFlags(chuugata4); ClearFlags(chuugata5); ClearFlags(chuugata6);
    ClearFlags(chuugata7); ClearFlags(chuugata8); ClearFlags(chuugata9);
    ClearFlags(bit);
    ClearFlags(BOSS1); ClearFlags(BOSS2); ClearFlags(BOSS3); ClearFlags(BOSS4);
    ClearFlags(BOSS5); ClearFlags(LBOSS);
    ClearFlags(tama); ClearFlags(Baka); ClearFlags(sLaser); ClearFlags(sLaser2);
    ClearFlags(BLaser); ClearFlags(flash); ClearFlags(line);
    ClearFlags(Bom); ClearFlags(Bom2); ClearFlags(Bom3); ClearFlags(Pom);
    ClearFlags(gomi); ClearFlags(hosi); ClearFlags(kumo);
    for (int i = 0; i < JEWELFONT_MAX; i++) JEWELFONT[i].flag = false;
}
