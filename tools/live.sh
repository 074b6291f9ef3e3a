# Sourced by tools/run --live and tools/screenshot --realtime: a simulated
# instrument as COM1 and a settings folder that reaches it.
#   start_instrument BUILD   starts `tessaly-sim instrument` (ended with the
#                            calling shell) and exports TESSALY_COM1 as its
#                            pseudo-terminal
#   live_settings BUILD DIR [LANGUAGE]
#                            writes DIR/记录仪.ini by a first start of the
#                            program, then sets COM1, address 1 and, when
#                            given, the language flag (0 Chinese, 1 English)

start_instrument() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  "$1/sim/tessaly-sim" instrument >"$fifo" &
  INSTRUMENT_PID=$!
  trap 'kill "$INSTRUMENT_PID" 2>/dev/null || true' EXIT
  exec 3<"$fifo"
  rm -f "$fifo"
  read -r TESSALY_COM1 <&3
  export TESSALY_COM1
}

# Writes the 32-bit little-endian VALUE (0..255) at byte OFFSET of FILE.
patch_int32() {
  printf "\\x$(printf %02x "$3")\\x00\\x00\\x00" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

live_settings() {
  local file="$2/记录仪.ini"
  mkdir -p "$2"
  QT_QPA_PLATFORM=offscreen TESSALY_SETTINGS_DIR="$2" TESSALY_SCREENSHOT="$2/first.png" "$1/gui/tessaly"
  rm -f "$2/first.png"
  patch_int32 "$file" 1160 1  # comPort
  patch_int32 "$file" 1172 1  # deviceAddress
  [ -z "${3:-}" ] || patch_int32 "$file" 1180 "$3"
}
