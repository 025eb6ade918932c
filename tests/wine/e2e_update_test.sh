# Sourced by runner.sh before e2e_update_test.exe: where its screenshots go.
# The driver prepares everything else in the prefix itself.
export VELMORA_E2E_SHOTS=${VELMORA_E2E_SHOTS:-$(cd "$WINEPREFIX/.." && pwd)/e2e-screenshots}
mkdir -p "$VELMORA_E2E_SHOTS"
