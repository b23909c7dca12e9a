#include "masterdata/OknoIzpisaVrstaPrometa.h"

#include "masterdata/IzpisSifrantVrstaPrometa.h"
#include "masterdata/PrintOptionsWindow.h"

namespace dv {

int OknoIzpisaVrstaPrometa() {
    PrintOptionsWindow window("OknoIzpisaVrstaPrometa", "Šifrant vrste prometa",
                              "IzpisSifrantVrstaPrometa", IzpisSifrantVrstaPrometa);
    window.setFirstField("?GLO:NAZIVIZPISA");
    return window.Execute();
}

}  // namespace dv
