"""What scripts/sbom.py and scripts/sbom-check.py read: release files, binaries, CMake, dpkg."""
