#include "probe/probe.h"

int main(int argc, char* argv[]) { return EtherCfgMain(argc, argv); }
