#!/usr/bin/env bash
# Makes a throw-away code-signing certificate for CI in DIR: a test CA (ca.pem) and a
# signer issued by it, packed with its key as signer.p12 (password "test"). Never for a
# release, never committed: a site signs with its own certificate (sign-windows.sh).
#   make-test-cert.sh DIR
set -euo pipefail
dir="$1"
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"
openssl req -x509 -newkey rsa:3072 -nodes -days 2 -subj "/CN=Quenda Test-CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" \
  -keyout ca.key -out ca.pem 2>/dev/null
openssl req -newkey rsa:3072 -nodes -subj "/CN=Quenda Test-Signatur" \
  -keyout signer.key -out signer.csr 2>/dev/null
printf '%s\n' "basicConstraints=CA:FALSE" "keyUsage=critical,digitalSignature" \
  "extendedKeyUsage=codeSigning" >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
  -extfile signer.ext -out signer.pem 2>/dev/null
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout pass:test \
  -out signer.p12
rm -f ca.key signer.key signer.csr ca.srl
