#!/usr/bin/env bash
# The layering check: the system's code (Ostrelle, Dunmorra, Farrowkit, Orvadel, zelk; their tests
# excepted) includes no header of the simulated PC, and the platform stand-in includes neither the
# simulated PC nor the system's code. Prints each offending file and line; fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
report() {  # <grep output lines> <rule>
    local rule="$1"
    while IFS= read -r line; do
        [ -n "$line" ] || continue
        echo "layering: $line: $rule"
        status=1
    done
}

system_dirs=(Ostrelle Dunmorra Farrowkit Orvadel zelk)
system_headers='(hwsim/|SimulatedPc\.h)'
report "the system's code includes the simulated PC" < <(
    grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
         "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]${system_headers}" "${system_dirs[@]}" |
    grep -vE '^[^:]*/tests/' || true)

# Headers the platform may not name: the simulated PC's, and every header of the system's code.
mapfile -t own < <(find Ostrelle Dunmorra Farrowkit Orvadel zelk -path '*/tests' -prune -o \
                        \( -name '*.h' -o -name '*.hpp' \) -printf '%f\n' | sort -u)
platform_pattern='(hwsim/|SimulatedPc\.h|dunmorra/|zelk/'
for h in "${own[@]}"; do
    # A platform header of the same name (resource.h, say) is the platform's own.
    [ -e "platform/include/$h" ] && continue
    platform_pattern+="|${h//./\\.}"
done
platform_pattern+=')'
report "the platform stand-in includes the simulated PC or the system's code" < <(
    grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
         "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]([^\">]*/)?${platform_pattern}[\">]" platform |
    grep -vE "[<\"](platform|mfc)/" || true)

if [ "$status" -eq 0 ]; then
    echo "layering: ok"
fi
exit "$status"
