// gen-factory-image STAGE TEXTS.tsv: writes the generated part of the factory
// device image into STAGE (a device root): the registry, config.xml, the
// language files, the skin, the alarm tones, the fonts, the working folders
// and the stand-ins of the program files. The build adds the spoken prompts,
// the database, the fingerprint libraries and the sample fingers.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/device-image/factory_stage.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen-factory-image STAGE TEXTS.tsv\n");
        return 2;
    }
    try {
        factory::WriteGeneratedStage(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen-factory-image: %s\n", e.what());
        return 1;
    }
    return 0;
}
