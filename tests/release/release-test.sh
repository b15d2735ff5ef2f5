#!/usr/bin/env bash
# tools/release with a throwaway self-signed code-signing certificate (RSA, valid for a
# day): the release verifies against that certificate and no other, installs, differs from
# the unsigned build only where a signature goes, fails verification after a one-byte
# change, and certificates that cannot sign code are refused with nothing written.
#   release-test.sh SOURCE_DIR BUILD_DIR WIZARD_E2E_TEST.exe QZV.exe PAYLOAD.bin
# The second build folder of the reproducibility check is kept in the build tree and
# reused, so only the first run builds Setup.exe there.
set -uo pipefail
src="$1" build="$2" e2e="$3" host="$4" payload="$5"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

password='release test'
make_cert() {  # NAME KEY [-addext ...]: NAME.pem and NAME.pfx
  openssl req -x509 -newkey "$2" -nodes -days 1 -subj "/CN=Release test $1" "${@:3}" \
    -keyout "$work/$1.key" -out "$work/$1.pem" 2>/dev/null &&
    openssl pkcs12 -export -inkey "$work/$1.key" -in "$work/$1.pem" -out "$work/$1.pfx" \
      -passout "pass:$password" || { echo "cannot make $1"; exit 1; }
}
codesign=(-addext extendedKeyUsage=codeSigning -addext keyUsage=critical,digitalSignature)
make_cert signing rsa:2048 "${codesign[@]}"
make_cert server rsa:2048 -addext extendedKeyUsage=serverAuth
make_cert ec ec -pkeyopt ec_paramgen_curve:prime256v1 "${codesign[@]}"

release() {  # RELEASE_DIR [VAR=value ...]: tools/release, with only these signing settings
  env -u SIGN_PKCS12 -u SIGN_PASSWORD -u SIGN_TIMESTAMP_URL "${@:2}" BUILD_DIR="$build" \
    RELEASE_DIR="$1" RELEASE_TWIN_DIR="$build/tests/release/twin" RELEASE_TWIN_REUSE=1 \
    "$src/tools/release" 2>&1
}
verify() { osslsigncode verify -CAfile "$1" -in "$2" 2>&1; }

signed="$work/release/Setup.exe"
out=$(release "$work/release" SIGN_PKCS12="$work/signing.pfx" SIGN_PASSWORD="$password") ||
  { echo "$out"; echo "FAIL: tools/release with the signing certificate"; exit 1; }
grep -q 'signed by CN = Release test signing' <<<"$out" || fail "no signer named: $out"
report=$(verify "$work/signing.pem" "$signed") || fail "no verification: $report"
for line in 'Message digest algorithm *: SHA256' 'Text description: Zentrova Latvian Spellchecker' \
            'URL description: https://'; do
  grep -q "$line" <<<"$report" || fail "the signature lacks '$line'"
done
verify "$work/server.pem" "$signed" >/dev/null && fail "it verifies against another certificate"
(cd "$work/release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

# The unsigned build's bytes with the checksum and the certificate table's directory entry
# changed, zero padding to 8 bytes, then the table, which ends the file. A copy with one
# payload byte changed goes to tampered.exe.
python3 - "$build/app/Setup.exe" "$signed" "$payload" "$work/tampered.exe" <<'EOF' ||
import struct, sys
unsigned, signed, payload = (open(p, "rb").read() for p in sys.argv[1:4])
pe = struct.unpack_from("<I", unsigned, 0x3C)[0]
assert struct.unpack_from("<H", unsigned, pe + 24)[0] == 0x10B, "not PE32"
checksum, security = pe + 24 + 64, pe + 24 + 128
table, size = struct.unpack_from("<II", signed, security)
changed = [i for i in range(len(unsigned)) if unsigned[i] != signed[i]
           and not (checksum <= i < checksum + 4 or security <= i < security + 8)]
assert not changed, "bytes changed at %s" % changed[:10]
assert table % 8 == 0 and 0 <= table - len(unsigned) < 8, (table, len(unsigned))
assert not any(signed[len(unsigned):table]), "the padding is not zero"
assert table + size == len(signed), "something follows the certificate table"
at = signed.find(payload)
assert at > 0, "the payload is not in the file"
open(sys.argv[4], "wb").write(signed[:at] + bytes([signed[at] ^ 1]) + signed[at + 1:])
EOF
  fail "signed and unsigned differ beyond the signature"
[ -f "$work/tampered.exe" ] && verify "$work/signing.pem" "$work/tampered.exe" >/dev/null &&
  fail "a changed payload byte still verifies"

ran=$("$src/tools/wine-run" "$e2e" "--setup=$signed" "--host=$host" \
      --gtest_filter=UnattendedTest.ASharedInstallationRecordsWhatTheWizardRecords 2>&1)
grep -q '^\[  PASSED  \] 1 test' <<<"$ran" || fail "the signed program does not install: $ran"

# Refused certificates leave the earlier release as it was and add nothing beside it.
listing() { (cd "$work/release" && ls -la --time-style=+%s.%N && sha256sum ./*); }
before=$(listing)
while IFS='|' read -r pfx pass message; do
  said=$(release "$work/release" SIGN_PKCS12="$work/$pfx" SIGN_PASSWORD="$pass") &&
    fail "$pfx accepted"
  grep -q "$message" <<<"$said" || fail "$pfx: the message does not say '$message': $said"
done <<EOF
server.pfx|$password|lacks the Code Signing
signing.pfx|not $password|wrong password
ec.pfx|$password|signed with an RSA key
EOF
[ "$(listing)" = "$before" ] || fail "a refused certificate changed the release"

out=$(release "$work/unsigned") || fail "tools/release without a certificate: $out"
[ "$(grep -c 'NOT signed' <<<"$out")" = 1 ] || fail "not said to be unsigned: $out"
cmp -s "$work/unsigned/Setup.exe" "$build/app/Setup.exe" || fail "the unsigned release is not the build"

echo "release test: $failures failed"
[ "$failures" -eq 0 ]
