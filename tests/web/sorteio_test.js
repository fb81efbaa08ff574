// SPDX-License-Identifier: MIT
// sorteio.html against countoff: for each case of the table (and a few
// random rosters), the page draws from a file as an organiser does (the
// file picked, the columns chosen, n typed, Sortear pressed), and the CSV
// it downloads is, byte for byte, what countoff writes for the same file
// and options; so is what the commands the page shows make when a shell
// runs them. A file that countoff refuses, the page refuses with countoff's
// words. Then: hostile names stay text, a file that is not text or too
// large gets a message, an abort inside the WebAssembly leaves the page
// usable, axe-core finds nothing serious, and a phone does not scroll
// sideways.
// Usage: node sorteio_test.js sorteio.html COUNTOFF
'use strict';

const crypto = require('crypto');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');
const b = require('./browser.js');

const [pagina, countoff] = process.argv.slice(2);
if (!pagina || !countoff) {
  console.error('usage: node sorteio_test.js sorteio.html COUNTOFF');
  process.exit(2);
}
if (!fs.existsSync(pagina)) b.skip(`${pagina} was not built`);
if (!fs.existsSync(countoff)) b.skip(`${countoff} was not built`);

const pasta = fs.mkdtempSync(path.join(os.tmpdir(), 'listaenc-sorteio-'));
const baixados = path.join(pasta, 'baixados');
fs.mkdirSync(baixados);

const BOM = '\ufeff';
const exemplo = fs.readFileSync(path.join(__dirname, '..', '..', 'examples', 'inscritos.csv'));

function utf16le(texto) { return Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(texto, 'utf16le')]); }

// A roster of `quantos` names from a seeded generator, some sharing names.
function aleatorio(semente, quantos, separador) {
  let x = semente;
  const proximo = () => { x = (x * 1103515245 + 12345) % 2147483648; return x; };
  const partes = ['ana', 'José', 'Zoë', 'Ñu', 'bia', 'caio', 'Ærø', 'Lúcia', 'de', 'O\'Hara', 'x,y', 'a"b'];
  const linhas = [`id${separador}nome${separador}obs`];
  for (let i = 0; i < quantos; ++i) {
    const nome = `${partes[proximo() % partes.length]} ${partes[proximo() % partes.length]}`;
    const cel = (t) => (/[",;\n]/.test(t) ? `"${t.replace(/"/g, '""')}"` : t);
    linhas.push([String(1000 + i), cel(nome), cel(proximo() % 3 === 0 ? 'linha\nquebrada' : '')].join(separador));
  }
  return Buffer.from(linhas.join('\r\n') + '\r\n');
}

// Each case: a file, the page's choices and countoff's options for them.
// coluna and id are the option values of the selects (column index from 0).
const casos = [
  { nome: 'exemplo', arquivo: exemplo, coluna: 1, contagem: '7', args: ['--coluna', 'Nome', '--contagem', '7'] },
  { nome: 'exemplo-semente', arquivo: exemplo, coluna: 1, id: 0, semente: '05 12 33 41 50', premios: 3,
    args: ['--coluna', 'Nome', '--id', 'id', '--premios', '3', '--semente', '05 12 33 41 50'] },
  { nome: 'exemplo-ordenado', arquivo: exemplo, coluna: 1, contagem: '0', ordenar: true,
    args: ['--coluna', 'Nome', '--ordenar', '--contagem', '0'] },
  { nome: 'nfd-ordenado', arquivo: Buffer.from(`nome;cidade\r\nJose\u0301;a\r\nJos\u00e9;b\r\nAna;c\r\n\u00c5sa;d\r\nA\u030asa;e\r\n`),
    coluna: 0, contagem: '2', ordenar: true, args: ['--coluna', 'nome', '--ordenar', '--contagem', '2'] },
  { nome: 'utf16', arquivo: utf16le(`Nome,Cidade\r\nMaria,Belém\r\nJoão,Maceió\r\nZé,Natal\r\n`),
    coluna: 0, contagem: '3', args: ['--coluna', 'Nome', '--contagem', '3'] },
  { nome: 'bom-aspas', arquivo: Buffer.from(`${BOM}"nome","x"\n"a, b","1"\n"c ""d""",2\n"e\nf",3\n,\n  g  ,4\n`),
    coluna: 0, contagem: '1', premios: 2, args: ['--coluna', 'nome', '--premios', '2', '--contagem', '1'] },
  { nome: 'excluidos', arquivo: exemplo, coluna: 1, id: 0, contagem: '5', excluir: Buffer.from('0002\n0007\n'),
    args: ['--coluna', 'Nome', '--id', 'id', '--contagem', '5'] },
  { nome: 'hostil', arquivo: Buffer.from('nome\n<img src=x onerror=alert(1)>\n"</script><script>alert(2)</script>"\n' +
      '\u202eevil\u202c\n=HYPERLINK("http://x")\nzero\u200bwidth\n@cmd\n'),
  coluna: 0, contagem: '1', args: ['--coluna', 'nome', '--contagem', '1'] },
  { nome: 'grande-n', arquivo: aleatorio(7, 300, ','), coluna: 1, id: 0, contagem: '2147483647',
    args: ['--coluna', 'nome', '--id', 'id', '--contagem', '2147483647'] },
  { nome: 'aleatorio-1', arquivo: aleatorio(1, 500, ';'), coluna: 1, contagem: '13', ordenar: true,
    args: ['--coluna', 'nome', '--ordenar', '--contagem', '13'] },
  { nome: 'aleatorio-2', arquivo: aleatorio(2, 1200, ','), coluna: 1, id: 0, semente: 'Quina 6543: 03 17 28 44 61',
    args: ['--coluna', 'nome', '--id', 'id', '--semente', 'Quina 6543: 03 17 28 44 61'] },
  { nome: 'semente-invisivel', arquivo: exemplo, coluna: 1, semente: "\u202e05\t12 'a' 33\u00a0",
    args: ['--coluna', 'Nome', '--semente', "\u202e05\t12 'a' 33\u00a0"] },
  // Refused, by the page as by countoff.
  { nome: 'n-invalido', arquivo: exemplo, coluna: 1, contagem: '2.7', args: ['--coluna', 'Nome', '--contagem', '2.7'] },
  { nome: 'n-negativo', arquivo: exemplo, coluna: 1, contagem: '-3', args: ['--coluna', 'Nome', '--contagem', '-3'] },
  { nome: 'n-e-semente', arquivo: exemplo, coluna: 1, contagem: '4', semente: 'x',
    args: ['--coluna', 'Nome', '--contagem', '4', '--semente', 'x'] },
  { nome: 'nome-vazio', arquivo: Buffer.from('nome,idade\nana,3\n,4\n'), coluna: 0, contagem: '1',
    args: ['--coluna', 'nome', '--contagem', '1'] },
  { nome: 'excluido-ausente', arquivo: exemplo, coluna: 1, contagem: '5', excluir: Buffer.from('Ninguém Aqui\n'),
    args: ['--coluna', 'Nome', '--contagem', '5'] },
];

function programa(caso, entrada) {
  const args = [...caso.args];
  if (caso.excluir) {
    const lista = path.join(pasta, `${caso.nome}-excluir.txt`);
    fs.writeFileSync(lista, caso.excluir);
    args.splice(args.length - 2, 0, '--excluir', lista);
  }
  const r = spawnSync(countoff, [...args, '--csv'], { input: entrada, env: { LC_ALL: 'C' } });
  return { status: r.status, saida: r.stdout, erros: r.stderr.toString('utf8') };
}

async function esperarEstado(page, prefixos) {
  await page.waitForFunction((ps) => {
    const t = document.getElementById('estado').textContent;
    return ps.some((p) => t.startsWith(p));
  }, { timeout: 20000 }, prefixos);
}

async function escolher(page, seletor, arquivo) {
  await page.$eval(seletor, (e) => { e.value = ''; });
  if (arquivo) await (await page.$(seletor)).uploadFile(arquivo);
}

async function abrir(page, arquivo) {
  await page.$eval('#estado', (e) => { e.textContent = ''; });
  await escolher(page, '#arquivo', arquivo);
  await esperarEstado(page, ['Arquivo lido', 'Escolha']);
}

async function baixar(page, nome) {
  const destino = path.join(baixados, nome);
  if (fs.existsSync(destino)) fs.unlinkSync(destino);
  await page.click('#baixar');
  for (let i = 0; i < 200; ++i) {
    if (fs.existsSync(destino)) return fs.readFileSync(destino);
    await new Promise((r) => setTimeout(r, 50));
  }
  return null;
}

async function sortear(page, caso) {
  const arquivo = path.join(pasta, `${caso.nome}.csv`);
  fs.writeFileSync(arquivo, caso.arquivo);
  await abrir(page, arquivo);
  await page.select('#coluna', String(caso.coluna));
  await page.select('#id', caso.id === undefined ? '' : String(caso.id));
  await page.evaluate((c) => {
    document.getElementById('contagem').value = c.contagem || '';
    document.getElementById('semente').value = c.semente === undefined ? '' : c.semente;
    document.getElementById('premios').value = c.premios ? String(c.premios) : '';
    document.getElementById('ordenar').checked = !!c.ordenar;
  }, { contagem: caso.contagem, semente: caso.semente, premios: caso.premios, ordenar: caso.ordenar });
  let lista = null;
  if (caso.excluir) {
    lista = path.join(pasta, `${caso.nome}-excluir.txt`);
    fs.writeFileSync(lista, caso.excluir);
  }
  await escolher(page, '#excluir', lista);
  await page.$eval('#estado', (e) => { e.textContent = ''; });
  await page.click('#sortear');
  await esperarEstado(page, ['Sorteio feito', 'Corrija']);
  return arquivo;
}

async function principal() {
  const browser = await b.launch();
  const sessao = await browser.target().createCDPSession();
  await sessao.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: baixados });
  const page = await b.open(browser, pagina);
  const dialogos = [];
  page.on('dialog', async (d) => { dialogos.push(d.message()); await d.dismiss(); });
  await esperarEstado(page, ['Pronta']);

  for (const caso of casos) {
    const arquivo = await sortear(page, caso);
    const esperado = programa(caso, caso.arquivo);
    const aviso = await page.$eval('#aviso', (e) => (e.hidden ? '' : e.textContent));
    if (esperado.status !== 0) {
      const linhas = esperado.erros.split('\n').filter((l) => l.startsWith('countoff: '))
        .map((l) => l.slice('countoff: '.length));
      b.check(`${caso.nome}: refused as countoff refuses it (status ${esperado.status})`,
        linhas.length > 0 && linhas.every((l) => aviso.includes(l)), { aviso, erros: esperado.erros });
      continue;
    }
    b.check(`${caso.nome}: drawn without a message`, aviso === '', aviso);
    const sha = await page.$eval('#sha256', (e) => e.textContent);
    b.check(`${caso.nome}: the file's SHA-256 as sha256sum`,
      sha === crypto.createHash('sha256').update(caso.arquivo).digest('hex'), sha);
    const nome = await page.$eval('#baixar', (e) => e.download);
    const tabela = await baixar(page, nome);
    b.check(`${caso.nome}: the downloaded table is countoff's, byte for byte`,
      tabela !== null && Buffer.compare(tabela, esperado.saida) === 0,
      tabela && { pagina: tabela.toString('utf8').slice(0, 300), countoff: esperado.saida.toString('utf8').slice(0, 300) });

    // The commands the page shows, run by a shell where the file is.
    const comandos = await page.$eval('#comando', (e) => e.textContent);
    const refeito = path.join(pasta, nome);
    if (fs.existsSync(refeito)) fs.unlinkSync(refeito);
    let sha256sum = '';
    try {
      sha256sum = execFileSync('bash', ['-c', `countoff() { "$COUNTOFF" "$@"; }\n${comandos}`],
        { cwd: pasta, stdio: ['ignore', 'pipe', 'pipe'],
          env: { COUNTOFF: path.resolve(countoff), LC_ALL: 'C', PATH: process.env.PATH } }).toString();
    } catch (erro) {
      sha256sum = `falhou: ${erro.message}`;
    }
    b.check(`${caso.nome}: the page's commands make the same table and hash`,
      fs.existsSync(refeito) && Buffer.compare(fs.readFileSync(refeito), esperado.saida) === 0 &&
      sha256sum.startsWith(sha), { comandos, sha256sum });

    // The ring: a soldier each, up to 1,000; past that, the table alone.
    const inscritos = esperado.saida.toString('utf8').split('\r\n').length - 2;
    const roda = await page.evaluate(() => ({
      circulos: document.querySelectorAll('#roda svg circle').length,
      painel: !document.getElementById('painel-roda').hidden,
      sem: !document.getElementById('sem-roda').hidden,
    }));
    b.check(`${caso.nome}: the ring of ${inscritos} soldiers ${inscritos <= 1000 ? 'drawn' : 'left out'}`,
      inscritos <= 1000 ? roda.painel && !roda.sem && roda.circulos === inscritos : !roda.painel && roda.sem, roda);

    if (roda.painel) {
      await page.click('#fim');
      const fim = await page.evaluate(() => ({
        vence: [...document.querySelectorAll('#roda circle.vence')].map((c) => c.textContent),
        fora: document.querySelectorAll('#roda circle.fora, #roda circle.agora').length,
        vencedor: document.getElementById('vencedor').textContent,
      }));
      b.check(`${caso.nome}: at the ring's end the winner stands alone`,
        fim.vence.length === 1 && `Vencedor: ${fim.vence[0]}` === fim.vencedor && fim.fora === inscritos - 1, fim);
      // For an audience: each name beside its dot whole (up to 40 letters),
      // at 12 px or more, and inside the picture.
      const rotulos = await page.evaluate(() => {
        const caixa = document.querySelector('#roda svg').getBoundingClientRect();
        return [...document.querySelectorAll('#roda svg text')].map((t) => {
          const r = t.getBoundingClientRect();
          const nome = t.parentNode.querySelectorAll('circle')[[...t.parentNode.querySelectorAll('text')].indexOf(t)]
            .textContent;
          return { texto: t.textContent, nome, px: r.height,
            dentro: r.left >= caixa.left && r.right <= caixa.right && r.top >= caixa.top && r.bottom <= caixa.bottom };
        });
      });
      const ruins = rotulos.filter((r) => !r.dentro || r.px < 12 ||
        ([...r.nome].length <= 40 ? r.texto !== r.nome : !r.texto.endsWith('…')));
      b.check(`${caso.nome}: the names on the ring are whole, 12 px or more, inside the picture`,
        ruins.length === 0, ruins.slice(0, 3));
    }

    // What the page shows: the winner is the table's last name, as text.
    const vencedor = await page.$eval('#tabela tbody tr:last-child', (tr) => tr.textContent);
    const fim = await page.$eval('#vencedor', (e) => e.textContent);
    b.check(`${caso.nome}: the winner shown is the table's last row`,
      vencedor.includes(fim.replace(/^Vencedor: /, '')), { vencedor, fim });
  }

  // Hostile names: text, not markup, and the invisible characters escaped.
  const hostil = casos.find((c) => c.nome === 'hostil');
  await sortear(page, hostil);
  const celulas = await page.$$eval('#tabela tbody td', (tds) => tds.map((td) => td.textContent));
  b.check('hostile names: no element made of them', await page.$$eval('img, iframe, object, embed', (e) => e.length) === 0 &&
    await page.$$eval('script', (e) => e.length) === 2);
  b.check('hostile names: shown as text', celulas.includes('<img src=x onerror=alert(1)>') &&
    celulas.includes('</script><script>alert(2)</script>'), celulas);
  b.check('hostile names: the right-to-left override and the zero-width space escaped',
    celulas.includes("'\\342\\200\\256evil\\342\\200\\254'") && celulas.includes("'zero\\342\\200\\213width'"), celulas);
  b.check('hostile names: no dialog opened', dialogos.length === 0, dialogos);

  // axe-core and a phone's width, with a result on the page.
  b.check('axe-core: no serious or critical violation', (await b.axe(page)).length === 0, await b.axe(page));
  await page.setViewport({ width: 375, height: 667 });
  b.check('375 px wide: nothing scrolls sideways', !(await b.scrollsSideways(page)),
    await page.evaluate(() => document.documentElement.scrollWidth));
  await page.setViewport({ width: 1280, height: 720 });

  // A file that is not text, and one too large.
  const binario = path.join(pasta, 'foto.png');
  fs.writeFileSync(binario, Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0, 0, 0, 13, 0x49, 0x48]));
  await abrir(page, binario);
  const naoTexto = await page.$eval('#aviso', (e) => (e.hidden ? '' : e.textContent));
  b.check('a file that is not text: a clear message', /não serve/.test(naoTexto) && /linha/.test(naoTexto), naoTexto);
  const enorme = path.join(pasta, 'enorme.csv');
  fs.writeFileSync(enorme, '');
  fs.truncateSync(enorme, 65 * 1024 * 1024);
  await abrir(page, enorme);
  const grande = await page.$eval('#aviso', (e) => (e.hidden ? '' : e.textContent));
  b.check('a file too large: the bound said in MB', /64 MB/.test(grande) && /countoff/.test(grande), grande);

  // An abort and an exception inside the WebAssembly: a message, and the
  // page draws again.
  for (const como of ['aborto', 'excecao']) {
    page.expectErrors = true;
    await page.evaluate((c) => window.sorteioPagina.chamar((s, m) => m.Sorteio.falhar(c)), como);
    await esperarEstado(page, ['Pronta']);
    page.expectErrors = false;
    const recomeco = await page.$eval('#aviso', (e) => (e.hidden ? '' : e.textContent));
    b.check(`${como} inside the WebAssembly: a message`, /recomeçou/.test(recomeco), recomeco);
    await sortear(page, casos[0]);
    const tabela = await baixar(page, await page.$eval('#baixar', (e) => e.download));
    b.check(`${como} inside the WebAssembly: the page draws again`,
      tabela !== null && Buffer.compare(tabela, programa(casos[0], casos[0].arquivo).saida) === 0);
  }

  b.check('nothing went wrong on the page', page.trouble.length === 0, page.trouble);
  await b.close(browser);
}

principal().then(() => {
  fs.rmSync(pasta, { recursive: true, force: true });
  b.finish();
}, (erro) => {
  console.error(erro);
  process.exit(1);
});
