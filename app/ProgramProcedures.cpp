#include "app/ProgramProcedures.h"

#include "app/InvInfo.h"
#include "app/Main.h"
#include "app/NastavitvePrograma.h"
#include "app/ParametriInventure.h"
#include "app/VerzijaPrograma.h"
#include "masterdata/BrowseSFENOTE.h"
#include "masterdata/BrowseSFVRPROM.h"
#include "masterdata/IzpisSifrantEnote.h"
#include "masterdata/IzpisSifrantVrstaPrometa.h"
#include "masterdata/OknoIzpisaEnote.h"
#include "masterdata/OknoIzpisaVrstaPrometa.h"
#include "masterdata/UpdateSFENOTE.h"
#include "masterdata/UpdatesfVRPROM.h"
#include "terminal/ParametriTerminal.h"

namespace dv {

void registerProgramProcedures(ProcedureRegistry& registry) {
    registry.add("Main", runMain);
    registry.add("VerzijaPrograma", runVerzijaPrograma);
    registry.add("InvInfo", runInvInfo);
    registry.add("BrowseSFENOTE", BrowseSFENOTE);
    registry.add("BrowseSFVRPROM", BrowseSFVRPROM);
    registry.add("UpdateSFENOTE", UpdateSFENOTE);
    registry.add("OknoIzpisaEnote", OknoIzpisaEnote);
    registry.add("IzpisSifrantEnote", IzpisSifrantEnote);
    registry.add("UpdatesfVRPROM", UpdatesfVRPROM);
    registry.add("OknoIzpisaVrstaPrometa", OknoIzpisaVrstaPrometa);
    registry.add("IzpisSifrantVrstaPrometa", IzpisSifrantVrstaPrometa);
    registry.add("ParametriInventure", ParametriInventure);
    registry.add("NastavitvePrograma", NastavitvePrograma);
    registry.add("ParametriTerminal", ParametriTerminal);
}

}  // namespace dv
