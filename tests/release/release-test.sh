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

# Certificates: NAME KEY-ALGORITHM [-addext ...]; each as NAME.pem and NAME.pfx.
password='release test'
make_cert() {
  local name="$1" key="$2"
  shift 2
  openssl req -x509 -newkey "$key" -nodes -days 1 -subj "/CN=Release test $name" \
    -keyout "$work/$name.key" -out "$work/$name.pem" "$@" 2>/dev/null &&
    openssl pkcs12 -export -inkey "$work/$name.key" -in "$work/$name.pem" \
      -out "$work/$name.pfx" -passout "pass:$password" || { echo "cannot make $name"; exit 1; }
}
codesign=(-addext extendedKeyUsage=codeSigning -addext keyUsage=critical,digitalSignature)
make_cert signing rsa:2048 "${codesign[@]}"
make_cert server rsa:2048 -addext extendedKeyUsage=serverAuth
make_cert ec ec -pkeyopt ec_paramgen_curve:prime256v1 "${codesign[@]}"

release() {  # RELEASE_DIR, then VAR=value settings for tools/release
  local dir="$1"
  shift
  env -u SIGN_PKCS12 -u SIGN_PASSWORD -u SIGN_TIMESTAMP_URL "$@" BUILD_DIR="$build" RELEASE_DIR="$dir" RELEASE_TWIN_REUSE=1 \
    RELEASE_TWIN_DIR="$build/tests/release/twin" "$src/tools/release"
}
verify() { osslsigncode verify -CAfile "$1" -in "$2"; }

out=$(release "$work/release" SIGN_PKCS12="$work/signing.pfx" SIGN_PASSWORD="$password" 2>&1) ||
  { echo "$out"; echo "FAIL: tools/release with the signing certificate"; exit 1; }
signed="$work/release/Setup.exe"
grep -q 'signed by CN = Release test signing' <<<"$out" || fail "no signer named: $out"
if report=$(verify "$work/signing.pem" "$signed" 2>&1); then
  for line in 'Message digest algorithm *: SHA256' 'Text description: Zentrova Latvian Spellchecker' \
              'URL description: https://'; do
    grep -q "$line" <<<"$report" || fail "the signature lacks '$line'"
  done
else
  fail "the release does not verify against its certificate: $report"
fi
verify "$work/server.pem" "$signed" >/dev/null 2>&1 && fail "the release verifies against another certificate"
(cd "$work/release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

# The signature adds the certificate table and nothing else: the unsigned build's bytes,
# with the checksum and the table's directory entry changed, then padding to 8 bytes and
# the table (one PKCS#7 signed-data certificate), which ends the file. One byte changed
# in the payload breaks the signature.
python3 - "$build/app/Setup.exe" "$signed" "$payload" "$work/tampered.exe" <<'EOF' || fail "signed and unsigned differ beyond the signature"
import struct, sys
unsigned, signed, payload = (open(p, "rb").read() for p in sys.argv[1:4])
pe = struct.unpack_from("<I", unsigned, 0x3C)[0]
assert unsigned[pe:pe + 4] == b"PE\0\0" and struct.unpack_from("<H", unsigned, pe + 24)[0] == 0x10B
checksum, security = pe + 24 + 64, pe + 24 + 128   # PE32 optional header fields
table, size = struct.unpack_from("<II", signed, security)
assert struct.unpack_from("<II", unsigned, security) == (0, 0), "the build is signed already"
changed = [i for i in range(len(unsigned)) if unsigned[i] != signed[i]]
outside = [i for i in changed if not (checksum <= i < checksum + 4 or security <= i < security + 8)]
assert not outside, "bytes changed at %s" % outside[:10]
assert table % 8 == 0 and 0 <= table - len(unsigned) < 8, (table, len(unsigned))
assert signed[len(unsigned):table] == b"\0" * (table - len(unsigned)), "padding is not zero"
assert table + size == len(signed), "something follows the certificate table"
length, revision, kind = struct.unpack_from("<IHH", signed, table)
assert (length, revision, kind) == (size, 0x200, 2), (length, revision, kind)
at = signed.find(payload)
assert at > 0 and signed.find(payload, at + 1) < 0, "the payload is not in the file once"
tampered = bytearray(signed)
tampered[at + len(payload) // 2] ^= 1
open(sys.argv[4], "wb").write(tampered)
EOF
[ -f "$work/tampered.exe" ] && verify "$work/signing.pem" "$work/tampered.exe" >/dev/null 2>&1 &&
  fail "a changed payload byte still verifies"

# The signed program installs: the e2e test of a shared unattended installation, run on it.
ran=$("$src/tools/wine-run" "$e2e" "--setup=$signed" "--host=$host" \
      --gtest_filter=UnattendedTest.ASharedInstallationRecordsWhatTheWizardRecords 2>&1)
grep -q '^\[  PASSED  \] 1 test' <<<"$ran" || fail "the signed program does not install: $ran"

# Refused certificates leave the earlier release as it was and add nothing beside it.
before=$(cd "$work/release" && ls -l --time-style=+%s.%N && sha256sum ./*)
refuse() {  # what, expected message, settings
  local what="$1" message="$2"
  shift 2
  local said
  if said=$(release "$work/release" "$@" 2>&1); then
    fail "$what: accepted"
  elif ! grep -q "$message" <<<"$said"; then
    fail "$what: the message does not say '$message': $said"
  fi
}
refuse "no code-signing usage" "lacks the Code Signing" SIGN_PKCS12="$work/server.pfx" SIGN_PASSWORD="$password"
refuse "wrong password" "wrong password" SIGN_PKCS12="$work/signing.pfx" SIGN_PASSWORD="not $password"
refuse "elliptic-curve key" "RSA key" SIGN_PKCS12="$work/ec.pfx" SIGN_PASSWORD="$password"
refuse "no password" "SIGN_PASSWORD is not set" SIGN_PKCS12="$work/signing.pfx"
after=$(cd "$work/release" && ls -l --time-style=+%s.%N && sha256sum ./*)
[ "$before" = "$after" ] || fail "a refused certificate changed the release: $before / $after"

# Without a certificate: the build's own bytes, and one line saying it is not signed.
out=$(release "$work/unsigned" 2>&1) || fail "tools/release without a certificate: $out"
[ "$(grep -c 'NOT signed' <<<"$out")" = 1 ] || fail "the unsigned release is not announced: $out"
cmp -s "$work/unsigned/Setup.exe" "$build/app/Setup.exe" || fail "the unsigned release is not the build"

echo "release test: $failures failed"
[ "$failures" -eq 0 ]
